CREATE TABLE event (
    id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    kind text NOT NULL,
    scratch int,
    payload jsonb,
    at timestamptz DEFAULT now()
);
COMMENT ON COLUMN event.kind IS 'What happened.';
ALTER TABLE event DROP COLUMN scratch;
ALTER TABLE event RENAME COLUMN payload TO body;

-- A copy of each month's events, with all that LIKE can bring.
CREATE TABLE event_archive (LIKE event INCLUDING ALL, archived_at timestamptz);

-- LIKE takes a view's columns, or a composite type's.
CREATE VIEW event_summary AS SELECT kind, count(*) AS n FROM event GROUP BY kind;
CREATE TABLE summary_snapshot (taken date, LIKE event_summary);
CREATE TYPE coordinates AS (lat float8, lon float8);
CREATE TABLE place (name text, LIKE coordinates);

CREATE TABLE measure (at date, v int) PARTITION BY RANGE (at);
CREATE TABLE measure_copy (LIKE measure INCLUDING DEFAULTS INCLUDING CONSTRAINTS);
