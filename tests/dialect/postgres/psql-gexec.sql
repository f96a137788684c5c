CREATE TABLE counter (id int PRIMARY KEY);
-- psql runs each value of the result as a statement of its own.
SELECT 'CREATE TABLE from_gexec (g int)' \gexec
CREATE TABLE after_gexec (counter_id int REFERENCES counter);
