CREATE TABLE shelf (room int, no int, label text, PRIMARY KEY (room, no), UNIQUE (label));
CREATE TABLE book (
    id int PRIMARY KEY,
    room int,
    shelf_no int,
    shelf_label text REFERENCES shelf (label),
    FOREIGN KEY (room, shelf_no) REFERENCES shelf
);

-- Dropping one column of a key of several drops the whole key: room links
-- to nothing any more.
ALTER TABLE book DROP COLUMN shelf_no;

-- So does dropping the referenced column, with CASCADE.
ALTER TABLE shelf DROP COLUMN label CASCADE;

CREATE TABLE loan (book_id int, book_room int);
ALTER TABLE loan ADD FOREIGN KEY (book_id) REFERENCES book;
CREATE TABLE reader (id int PRIMARY KEY);
ALTER TABLE loan ADD COLUMN reader_id int REFERENCES reader;
-- Several tables in one DROP, and the keys that point at them.
DROP TABLE IF EXISTS nothing_here, reader CASCADE;
