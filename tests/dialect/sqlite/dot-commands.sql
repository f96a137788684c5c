CREATE TABLE zero (id INTEGER PRIMARY KEY);
.headers on
CREATE TABLE first (id INTEGER PRIMARY KEY, zero_id INTEGER REFERENCES zero);
.mode column
CREATE TABLE second (
    id INTEGER PRIMARY KEY,
    -- The first one.
    first_id INTEGER REFERENCES first (id)
);
.timer off
.nullvalue NULL
-- After two of them.
CREATE TABLE third (second_id INTEGER REFERENCES second);
.print "CREATE TABLE printed (id INTEGER);"
.echo off
CREATE TABLE fourth (third_id INTEGER REFERENCES third (second_id));
.headers off
