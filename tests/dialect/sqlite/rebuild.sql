PRAGMA foreign_keys = ON;

CREATE TABLE author (id INTEGER PRIMARY KEY, name TEXT, born TEXT);
CREATE TABLE book (
    id INTEGER PRIMARY KEY,
    author_id INTEGER REFERENCES author (id),
    title TEXT
);
CREATE INDEX book_author ON book (author_id);

-- The rebuild that SQLite's manual gives for any change ALTER TABLE cannot
-- make: a new table, the rows copied, the old one dropped, the new renamed.
PRAGMA foreign_keys = OFF;
BEGIN TRANSACTION;
CREATE TABLE new_book (
    id INTEGER PRIMARY KEY,
    author_id INTEGER NOT NULL REFERENCES author (id) ON DELETE CASCADE,
    title TEXT NOT NULL, -- now required
    -- The year it came out.
    year INTEGER
);
INSERT INTO new_book (id, author_id, title) SELECT id, author_id, coalesce(title, '') FROM book;
DROP TABLE book;
ALTER TABLE new_book RENAME TO book;
CREATE INDEX book_author ON book (author_id);
PRAGMA foreign_key_check;
COMMIT;
PRAGMA foreign_keys = ON;

CREATE TABLE review (book_id INTEGER REFERENCES book, stars INTEGER);
