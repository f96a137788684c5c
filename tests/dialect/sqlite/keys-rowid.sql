-- A table with no primary key of its own: only the rowid.
CREATE TABLE tag (label TEXT);
CREATE TABLE tagged (
    tag_id INTEGER REFERENCES tag,
    tag_label TEXT REFERENCES tag (label)
);

-- INTEGER PRIMARY KEY is the rowid under another name.
CREATE TABLE post (id INTEGER PRIMARY KEY, body TEXT);
CREATE TABLE post_tag (
    post_id INTEGER NOT NULL REFERENCES post ON DELETE CASCADE ON UPDATE CASCADE,
    tag_label TEXT NOT NULL,
    PRIMARY KEY (post_id, tag_label),
    FOREIGN KEY (tag_label) REFERENCES tag (label) MATCH SIMPLE
) WITHOUT ROWID;

-- A key to a table made later.
CREATE TABLE comment (post_id INTEGER, author_id INTEGER REFERENCES author);
CREATE TABLE author (id INTEGER PRIMARY KEY, name TEXT);

-- A key whose table never comes.
CREATE TABLE orphan (ghost_id INTEGER REFERENCES ghost (id));

ALTER TABLE post RENAME COLUMN id TO post_no;
ALTER TABLE author DROP COLUMN name;
ALTER TABLE comment ADD COLUMN reply_to INTEGER REFERENCES comment;
