CREATE TABLE keeper (id int PRIMARY KEY);

-- Dropping a parent with CASCADE drops the tables that inherit from it.
CREATE TABLE shape (id int, keeper_id int REFERENCES keeper);
CREATE TABLE circle (radius int) INHERITS (shape);
CREATE TABLE big_circle () INHERITS (circle);
DROP TABLE shape CASCADE;

-- A partitioned table goes with its partitions, CASCADE or not.
CREATE TABLE reading (at date, v int) PARTITION BY RANGE (at);
CREATE TABLE reading_2024 PARTITION OF reading FOR VALUES FROM ('2024-01-01') TO ('2025-01-01');
DROP TABLE reading;

CREATE TABLE journal (id int PRIMARY KEY);
-- Links: the key to journal goes with journal.
CREATE TABLE link (keeper_id int REFERENCES keeper, journal_id int REFERENCES journal);
DROP TABLE IF EXISTS journal, nothing_here CASCADE;
