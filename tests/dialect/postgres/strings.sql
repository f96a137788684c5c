CREATE TABLE strings (
    escapes text,
    continued text,
    continued_escape text,
    octal text
);

COMMENT ON TABLE strings IS E'\x41 \u00e9 \U0001F600';
COMMENT ON COLUMN strings.escapes IS E'quote \' backslash \\ \x41\x42 \z';
COMMENT ON COLUMN strings.continued IS 'multi'
    ' part';
COMMENT ON COLUMN strings.continued_escape IS E'first\x21'
' second\x21'
-- a comment between the parts
' third';
COMMENT ON COLUMN strings.octal IS e'\101\102\60';
