-- Every CREATE, ALTER, RENAME and DROP TABLE commits the transaction around
-- it: a ROLLBACK after it undoes none of them.
CREATE TABLE kept (id int PRIMARY KEY, note text) ENGINE=InnoDB;

BEGIN;
CREATE TABLE stays (b int, FOREIGN KEY (b) REFERENCES kept (id)) ENGINE=InnoDB;
ROLLBACK;

START TRANSACTION;
ALTER TABLE kept ADD COLUMN extra int;
ALTER TABLE kept CHANGE note remark text;
CREATE TABLE dropped (a int);
DROP TABLE dropped;
ROLLBACK;

SET autocommit = 0;
CREATE TABLE also_stays (a int) ENGINE=InnoDB;
RENAME TABLE also_stays TO renamed;
ROLLBACK;
SET autocommit = 1;

BEGIN WORK;
SAVEPOINT s;
ALTER TABLE renamed ADD FOREIGN KEY (a) REFERENCES kept (id);
ROLLBACK WORK;

-- A temporary table commits nothing, and is gone after the session.
BEGIN;
CREATE TEMPORARY TABLE scratch (a int);
ROLLBACK;
