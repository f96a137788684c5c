-- Names are cut to 63 bytes, and then mean the cut name.
CREATE TABLE a_table_name_that_is_longer_than_sixty_three_bytes_which_postgres_cuts (
    a_column_name_that_is_longer_than_sixty_three_bytes_which_postgres_cuts int PRIMARY KEY,
    short int
);
CREATE TABLE referrer (
    r int REFERENCES a_table_name_that_is_longer_than_sixty_three_bytes_which_postgres_cuts
        (a_column_name_that_is_longer_than_sixty_three_bytes_which_postgres_cuts_too),
    s int REFERENCES a_table_name_that_is_longer_than_sixty_three_bytes_which_postgres_c
);
ALTER TABLE a_table_name_that_is_longer_than_sixty_three_bytes_which_postgres_cut_here
    ADD COLUMN another_column_name_that_is_longer_than_sixty_three_bytes_and_gets_cut int;
COMMENT ON COLUMN a_table_name_that_is_longer_than_sixty_three_bytes_which_postgres_cuts.short
    IS 'Found by the long name.';
-- A character of two bytes is not cut in half: é stands at bytes 63 and 64.
CREATE TABLE "a_table_name_of_sixty_two_bytes_and_then_an_accented_letter_xyé_and_more" (
    "ü" int PRIMARY KEY
);
CREATE TABLE "A quoted Name that is longer than sixty-three bytes is cut in the same way" (
    x int REFERENCES "a_table_name_of_sixty_two_bytes_and_then_an_accented_letter_xyé_and_so_on"
);
