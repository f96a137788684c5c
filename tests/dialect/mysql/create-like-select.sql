CREATE TABLE p (id int PRIMARY KEY) ENGINE=InnoDB;
CREATE TABLE t1 (
  id int PRIMARY KEY COMMENT 'Copied with the column.',
  name varchar(20),
  p_id int,
  FOREIGN KEY (p_id) REFERENCES p (id)
) ENGINE=InnoDB COMMENT='The original.';

-- LIKE copies the columns and their comments, not the foreign keys.
CREATE TABLE t2 LIKE t1;
CREATE TABLE t3 (LIKE t1);
CREATE TABLE IF NOT EXISTS t4 LIKE t1;

-- SELECT adds the columns that it selects after those declared, and a
-- declared one of the same name takes the selected column's place.
CREATE TABLE s1 SELECT id, name FROM t1;
CREATE TABLE s2 (extra int) SELECT id FROM t1;
CREATE TABLE s3 (name varchar(20), extra int REFERENCES p (id)) ENGINE=InnoDB SELECT id, name FROM t1;
CREATE TABLE s4 (extra int) AS SELECT id AS renamed, p_id FROM t1;
CREATE TABLE s5 (extra int) IGNORE SELECT id FROM t1;
