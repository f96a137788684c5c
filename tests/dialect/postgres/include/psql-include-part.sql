-- Read by psql-include.sql, which includes this file.
CREATE TABLE included (
    id int PRIMARY KEY,
    base_id int REFERENCES base
);
ALTER TABLE base ADD COLUMN from_part text;
