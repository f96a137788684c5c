CREATE TABLE paths (
    windows text,
    wrapped text,
    paragraphs text,
    markup text,
    html text,
    escaped text,
    spaced text
);

-- A backslash is an ordinary character in a plain string.
COMMENT ON TABLE paths IS 'C:\temp\new';
COMMENT ON COLUMN paths.windows IS 'C:\Users\x\@y';
COMMENT ON COLUMN paths.wrapped IS 'A comment wrapped
over three lines
of the file.';
COMMENT ON COLUMN paths.paragraphs IS 'First paragraph,
wrapped.

Second paragraph.
   
Third, after a line of spaces.';
COMMENT ON COLUMN paths.markup IS '``quoted'''' -- dash --- em @paths.html [a](https://example.org/) [b] \@ \\';
COMMENT ON COLUMN paths.html IS '<b>bold</b> & "quotes" &amp;';
COMMENT ON COLUMN paths.escaped IS E'tab\there, back\\slash, quote\' and a\nbreak';
COMMENT ON COLUMN paths.spaced IS '   spaces around   ';
