CREATE TABLE U&"\00e9t\00e9" (
    U&"x\0041" int PRIMARY KEY,
    U&"!00e9" UESCAPE '!' int,
    plain text
);
CREATE TABLE refers (e int REFERENCES U&"\00e9t\00e9" (U&"x\0041"));
COMMENT ON TABLE U&"\00e9t\00e9" IS U&'!00e9t!00e9 (summer)' UESCAPE '!';
COMMENT ON COLUMN "été".plain IS U&'d\0061t\+000061 \00e9 \\';
COMMENT ON COLUMN refers.e IS u&'\0041'
    '\0042';
