ATTACH DATABASE ':memory:' AS aux;

CREATE TABLE main.account (id INTEGER PRIMARY KEY, name TEXT);
-- In the attached database: not a table of this one.
CREATE TABLE aux.cache (key TEXT PRIMARY KEY, account_id INTEGER REFERENCES account);
CREATE TABLE aux.account (id INTEGER PRIMARY KEY, shadow TEXT);
CREATE TEMP TABLE scratch (x);
CREATE TABLE temp.scratch2 (y);

-- A name without a database is looked up in temp, then main, then the
-- attached ones: this changes main's account.
ALTER TABLE account ADD COLUMN email TEXT;
ALTER TABLE aux.account ADD COLUMN aux_only TEXT;
ALTER TABLE aux.cache RENAME TO cache2;
CREATE TABLE "main".session (account_id INTEGER REFERENCES account (id));
DROP TABLE aux.account;
DROP TABLE cache2;
CREATE TABLE aux.kept (a INTEGER);
DETACH DATABASE aux;
CREATE TABLE main.aux (id INTEGER);
