\set ON_ERROR_STOP on
SET client_min_messages = warning;

CREATE OR REPLACE FUNCTION touch() RETURNS trigger AS $$
BEGIN
    NEW.changed := now(); -- a semicolon inside the body
    RETURN NEW;
END;
$$ LANGUAGE plpgsql;

CREATE TABLE IF NOT EXISTS event (
    id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    changed timestamp,
    total numeric GENERATED ALWAYS AS (id * 2) STORED
) WITH (fillfactor = 70);

CREATE UNLOGGED TABLE old_style (
    a integer
) WITHOUT OIDS;

CREATE TABLE measure (
    at date NOT NULL,
    event bigint REFERENCES event
) PARTITION BY RANGE (at);

CREATE TABLE measure_2024 PARTITION OF measure
    FOR VALUES FROM ('2024-01-01') TO ('2025-01-01');

CREATE TABLE special_event (
    reason text
) INHERITS (event);

CREATE TEMP TABLE scratch (a integer);
CREATE TEMPORARY TABLE scratch2 (a integer);
CREATE TABLE copy AS SELECT id, changed FROM event;
CREATE VIEW event_view AS SELECT id FROM event;

CREATE TRIGGER event_touch BEFORE UPDATE ON event
    FOR EACH ROW EXECUTE FUNCTION touch();
