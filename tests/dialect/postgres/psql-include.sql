CREATE TABLE base (id int PRIMARY KEY);

-- The parts of the schema, each a file of its own.
\ir include/psql-include-part.sql
\i /dev/null

CREATE TABLE after_parts (
    included_id int REFERENCES included
);
