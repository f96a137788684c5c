CREATE TABLE kept (id INTEGER PRIMARY KEY, note TEXT);

BEGIN;
CREATE TABLE gone (b INTEGER REFERENCES kept);
ROLLBACK;

BEGIN DEFERRED TRANSACTION;
CREATE TABLE committed (k INTEGER REFERENCES kept);
END TRANSACTION;

BEGIN IMMEDIATE;
CREATE TABLE also_gone (b INTEGER);
ROLLBACK TRANSACTION;

-- What a rolled-back transaction changed of tables that stay.
BEGIN EXCLUSIVE;
ALTER TABLE kept ADD COLUMN extra INTEGER;
ALTER TABLE kept RENAME COLUMN note TO remark;
ALTER TABLE committed RENAME TO renamed;
DROP TABLE kept;
ROLLBACK;

-- Savepoints: only what follows the one rolled back to is undone. A
-- savepoint outside a transaction begins one, and its RELEASE commits it.
SAVEPOINT outer_one;
CREATE TABLE before_savepoint (a INTEGER);
SAVEPOINT s;
CREATE TABLE after_savepoint (a INTEGER);
ALTER TABLE before_savepoint ADD COLUMN undone INTEGER;
ROLLBACK TO SAVEPOINT s;
CREATE TABLE after_rollback_to (a INTEGER);
SAVEPOINT t;
CREATE TABLE inner_gone (a INTEGER);
ROLLBACK TRANSACTION TO t;
RELEASE outer_one;

BEGIN;
SAVEPOINT x;
CREATE TABLE released_then_rolled_back (a INTEGER);
RELEASE SAVEPOINT x;
ROLLBACK;
