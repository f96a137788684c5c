CREATE TABLE kept (id int PRIMARY KEY, note text);

BEGIN;
CREATE TABLE gone (b int REFERENCES kept);
ROLLBACK;

BEGIN WORK;
CREATE TABLE committed (k int REFERENCES kept);
COMMIT WORK;

START TRANSACTION;
CREATE TABLE also_gone (b int);
ABORT;

-- What a rolled-back transaction changed of tables that stay.
BEGIN;
ALTER TABLE kept ADD COLUMN extra int;
ALTER TABLE committed ADD FOREIGN KEY (k) REFERENCES kept (id);
ALTER TABLE kept RENAME COLUMN note TO remark;
COMMENT ON TABLE kept IS 'Never said.';
DROP TABLE committed;
ROLLBACK;

-- Savepoints: only what follows the one rolled back to is undone.
BEGIN;
CREATE TABLE before_savepoint (a int);
SAVEPOINT s;
CREATE TABLE after_savepoint (a int);
ALTER TABLE before_savepoint ADD COLUMN undone int;
ROLLBACK TO SAVEPOINT s;
CREATE TABLE after_rollback_to (a int);
SAVEPOINT t;
CREATE TABLE released (a int);
RELEASE SAVEPOINT t;
SAVEPOINT u;
SAVEPOINT v;
CREATE TABLE inner_gone (a int);
ROLLBACK TO u;
END;

COMMENT ON TABLE kept IS 'Said after the rollback.';
