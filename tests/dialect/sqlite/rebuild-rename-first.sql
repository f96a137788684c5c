CREATE TABLE author (id INTEGER PRIMARY KEY, name TEXT);
CREATE TABLE book (id INTEGER PRIMARY KEY, author_id INTEGER REFERENCES author (id));

-- The rebuild done the other way round: the old table renamed first. The
-- rename rewrites the keys that point at it, so once it is dropped they
-- point at a table that is gone.
ALTER TABLE author RENAME TO old_author;
CREATE TABLE author (id INTEGER PRIMARY KEY, name TEXT NOT NULL, email TEXT);
INSERT INTO author (id, name) SELECT id, coalesce(name, '?') FROM old_author;
DROP TABLE old_author;

-- With legacy_alter_table the keys keep the name they were written with
-- (as long as foreign_keys is off).
CREATE TABLE shelf (id INTEGER PRIMARY KEY);
CREATE TABLE copy (shelf_id INTEGER REFERENCES shelf (id), book_id INTEGER REFERENCES book (id));
PRAGMA legacy_alter_table = ON;
ALTER TABLE shelf RENAME TO old_shelf;
CREATE TABLE shelf (id INTEGER PRIMARY KEY, label TEXT);
DROP TABLE old_shelf;
PRAGMA legacy_alter_table = OFF;

-- With foreign_keys on, the keys follow the rename even so.
PRAGMA foreign_keys = ON;
PRAGMA legacy_alter_table = 1;
ALTER TABLE book RENAME TO volume;
PRAGMA legacy_alter_table = 0;
