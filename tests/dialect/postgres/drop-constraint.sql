CREATE TABLE p (id int PRIMARY KEY, code text UNIQUE, a int, b int, UNIQUE (a, b));
CREATE TABLE p2 (id int PRIMARY KEY);

CREATE TABLE c (
    pid int REFERENCES p (id),
    q int CONSTRAINT c_p REFERENCES p (id),
    r int REFERENCES p (id) REFERENCES p2 (id),
    a int,
    b int,
    s int,
    kept int REFERENCES p (id),
    FOREIGN KEY (a, b) REFERENCES p (a, b),
    FOREIGN KEY (s) REFERENCES p2
);
ALTER TABLE c ADD FOREIGN KEY (s) REFERENCES p (id);

-- c_pid_fkey, the name that REFERENCES gave; c_p, the name it was given;
-- c_r_fkey1, the second key from r (to p2); c_a_b_fkey, a key of two columns;
-- c_s_fkey1, the key added to s after the one of CREATE TABLE.
ALTER TABLE c DROP CONSTRAINT c_pid_fkey;
ALTER TABLE c DROP CONSTRAINT c_p;
ALTER TABLE c DROP CONSTRAINT c_r_fkey1;
ALTER TABLE ONLY c DROP CONSTRAINT c_a_b_fkey;
ALTER TABLE IF EXISTS c DROP CONSTRAINT IF EXISTS c_s_fkey1, DROP CONSTRAINT IF EXISTS c_nothing;

CREATE TABLE old_name (x int REFERENCES p (id), y int REFERENCES p (id));
ALTER TABLE old_name RENAME TO new_name;
ALTER TABLE new_name RENAME COLUMN y TO z;
-- A constraint keeps its name when its table or column is renamed.
ALTER TABLE new_name DROP CONSTRAINT old_name_x_fkey;
ALTER TABLE new_name RENAME CONSTRAINT old_name_y_fkey TO z_to_p;
ALTER TABLE new_name DROP CONSTRAINT z_to_p;

CREATE TABLE this_is_a_rather_long_table_name_for_a_test_of_names (
    that_is_a_rather_long_column_name_for_it int REFERENCES p,
    that_is_a_rather_long_column_name_for_it_too int REFERENCES p,
    short int REFERENCES p
);
-- Names over 63 bytes are cut; a second that comes out the same is numbered
-- and cut again.
ALTER TABLE this_is_a_rather_long_table_name_for_a_test_of_names
    DROP CONSTRAINT this_is_a_rather_long_table_n_that_is_a_rather_long_column_fkey;
ALTER TABLE this_is_a_rather_long_table_name_for_a_test_of_names
    DROP CONSTRAINT this_is_a_rather_long_table__that_is_a_rather_long_column_fkey1;

CREATE TABLE target (id int PRIMARY KEY, code text UNIQUE, other text UNIQUE);
CREATE TABLE source (t_id int REFERENCES target, t_code text REFERENCES target (code),
    t_other text REFERENCES target (other));
-- The primary key and a unique constraint that keys point at, dropped with
-- CASCADE, take those keys with them; the new primary key is what a later
-- REFERENCES without columns means.
ALTER TABLE target DROP CONSTRAINT target_pkey CASCADE;
ALTER TABLE target DROP CONSTRAINT target_code_key CASCADE;
ALTER TABLE target ADD PRIMARY KEY (other);
CREATE TABLE later (t text REFERENCES target);

CREATE TABLE gone (id int PRIMARY KEY);
CREATE TABLE stays (g int REFERENCES gone, h int REFERENCES p (id));
-- A table dropped with CASCADE takes the keys that point at it.
DROP TABLE gone CASCADE;

CREATE TABLE holder (id int PRIMARY KEY, alt int UNIQUE);
CREATE TABLE user_of (by_id int REFERENCES holder, by_alt int REFERENCES holder (alt));
-- So does a column.
ALTER TABLE holder DROP COLUMN alt CASCADE;
