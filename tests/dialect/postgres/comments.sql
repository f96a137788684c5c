-- People who write.
CREATE TABLE writer (
    id integer PRIMARY KEY, -- chosen by the writer
    -- Shown on the cover.
    pen_name text, -- never their real name
    born date
    /* no comment for born: this block stands in front of nothing */
);

COMMENT ON TABLE writer IS 'Everyone who wrote a book -- or half of one.';
COMMENT ON COLUMN writer.pen_name IS 'As on the cover; ''quoted'' here.';
COMMENT ON COLUMN writer.born IS 'First version.';
COMMENT ON COLUMN public.writer.born IS E'Replaced: the later comment wins.\nSecond paragraph.';
COMMENT ON COLUMN writer.id IS 'Gone again.';
COMMENT ON COLUMN writer.id IS NULL;

CREATE TABLE draft (
    title text,
    body text
);
COMMENT ON TABLE draft IS $$Dollar-quoted; with a semicolon.$$;
COMMENT ON COLUMN draft.title IS 'Gone too.';
COMMENT ON COLUMN draft.title IS '';
COMMENT ON COLUMN draft.body IS $body$The text, see @writer.$body$;
