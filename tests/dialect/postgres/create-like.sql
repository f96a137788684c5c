CREATE TABLE p (id int PRIMARY KEY);
CREATE TABLE t1 (
    id int PRIMARY KEY,
    name text,
    p_id int REFERENCES p
);
COMMENT ON TABLE t1 IS 'The original.';
COMMENT ON COLUMN t1.name IS 'Copied with INCLUDING COMMENTS.';

-- LIKE copies the columns where it stands, never the foreign keys; the
-- comments only with INCLUDING COMMENTS (or ALL).
CREATE TABLE t2 (LIKE t1);
CREATE TABLE t3 (before int, LIKE t1 INCLUDING COMMENTS, after int REFERENCES p);
CREATE TABLE t4 (LIKE t1 INCLUDING ALL EXCLUDING COMMENTS);
CREATE TABLE t5 (LIKE t1 INCLUDING ALL);

CREATE TABLE s1 AS SELECT id, name AS label FROM t1;
CREATE TABLE s2 (a, b) AS SELECT id, name FROM t1;
CREATE TABLE IF NOT EXISTS s3 AS TABLE t1 WITH NO DATA;
SELECT id, p_id INTO s4 FROM t1;
CREATE TABLE s5 AS VALUES (1, 'one');
PREPARE two_columns AS SELECT id, name FROM t1;
CREATE TABLE s6 (x) AS EXECUTE two_columns;
