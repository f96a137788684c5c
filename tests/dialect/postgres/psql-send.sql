-- The counters; psql sends a query at the meta-commands that end a line.
CREATE TABLE counter (id int PRIMARY KEY, n int);
SELECT count(*) AS counters FROM counter \gset
CREATE TABLE after_gset (counter_id int REFERENCES counter);
SELECT 1 AS one \gset prefix_
\echo :prefix_one

-- Sent without a semicolon.
CREATE TABLE sent_by_g (
    id int PRIMARY KEY,
    counter_id int REFERENCES counter
) \g
SELECT id FROM counter \gx
CREATE TABLE after_gx (id int);
