CREATE TABLE settings (id int PRIMARY KEY, value text);
CREATE TABLE account (id int PRIMARY KEY);

-- A temporary table of the same name hides the real one for the session:
-- what follows changes the temporary table.
CREATE TEMP TABLE settings (id int, scratch text);
ALTER TABLE settings ADD COLUMN more text;
ALTER TABLE settings RENAME COLUMN scratch TO scribble;
COMMENT ON TABLE settings IS 'Said of the temporary table.';
DROP TABLE settings;

-- Once it is dropped the name means the real table again.
ALTER TABLE settings ADD COLUMN owner int REFERENCES account;
COMMENT ON COLUMN settings.value IS 'Said of the real one.';

CREATE TEMPORARY TABLE account (id int PRIMARY KEY, note text);
-- A key from a real table may not point at a temporary one; this names the
-- real one through its schema.
CREATE TABLE member (account_id int REFERENCES public.account);
ALTER TABLE account RENAME TO account_tmp;
CREATE TABLE after_rename (account_id int REFERENCES account);
