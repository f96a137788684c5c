CREATE TABLE base (id int PRIMARY KEY);

BEGIN ISOLATION LEVEL SERIALIZABLE, READ WRITE;
CREATE TABLE first_step (id int);
-- AND CHAIN commits and begins the next transaction at once.
COMMIT AND CHAIN;
CREATE TABLE chained_gone (id int);
ROLLBACK AND CHAIN;
CREATE TABLE chained_kept (id int);
COMMIT;

-- Two savepoints of one name: ROLLBACK TO goes to the later one, and after
-- RELEASE of that one, to the earlier.
BEGIN;
SAVEPOINT step;
CREATE TABLE after_first_step (id int);
SAVEPOINT step;
CREATE TABLE after_second_step (id int);
ROLLBACK TO SAVEPOINT step;
RELEASE SAVEPOINT step;
CREATE TABLE after_release (id int);
ROLLBACK TO step;
CREATE TABLE last_in_transaction (base_id int REFERENCES base);
COMMIT;

-- RELEASE takes the savepoints after it too.
BEGIN;
SAVEPOINT a;
ALTER TABLE base ADD COLUMN kept_a int;
SAVEPOINT b;
ALTER TABLE base ADD COLUMN kept_b int;
RELEASE a;
SAVEPOINT c;
ALTER TABLE base ADD COLUMN gone_c int;
ROLLBACK TO c;
COMMIT TRANSACTION;

START TRANSACTION ISOLATION LEVEL REPEATABLE READ;
SAVEPOINT x;
DROP TABLE first_step;
ROLLBACK TRANSACTION TO SAVEPOINT x;
ALTER TABLE first_step RENAME TO first;
ROLLBACK WORK;
