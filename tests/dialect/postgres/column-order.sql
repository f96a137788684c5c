CREATE TABLE base (id int PRIMARY KEY, created date);
CREATE TABLE other_base (note text, created date);

-- The inherited columns come first, parent by parent; a column that is
-- declared and inherited stays where the parent has it.
CREATE TABLE child (own int, created date, id2 int) INHERITS (base);
CREATE TABLE two_parents (extra int) INHERITS (base, other_base);
CREATE TABLE grandchild (deep int REFERENCES base) INHERITS (child);

-- A column added to a parent is added at the end of every child.
ALTER TABLE base ADD COLUMN added int;
ALTER TABLE ONLY grandchild ADD COLUMN leaf_only int;

-- Partitions take the columns of their parent in its order.
CREATE TABLE measure (at date, value int, station int) PARTITION BY RANGE (at);
CREATE TABLE measure_2024 PARTITION OF measure FOR VALUES FROM ('2024-01-01') TO ('2025-01-01');
CREATE TABLE measure_old (station int, value int, at date);
ALTER TABLE measure ATTACH PARTITION measure_old FOR VALUES FROM ('2000-01-01') TO ('2024-01-01');

-- Typed tables take the columns of their type.
CREATE TYPE point3 AS (x int, y int, z int);
CREATE TABLE points OF point3 (PRIMARY KEY (x));
