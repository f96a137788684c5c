-- Words that SQLite takes as names wherever a column's name may stand.
CREATE TABLE words (
    key INTEGER PRIMARY KEY,
    like INTEGER UNIQUE,
    if INTEGER,
    exclude INTEGER,
    without INTEGER,
    strict INTEGER,
    temp INTEGER,
    replace INTEGER,
    abort INTEGER,
    conflict INTEGER,
    action INTEGER,
    first INTEGER,
    after INTEGER,
    before INTEGER,
    cascade INTEGER,
    generated INTEGER,
    always INTEGER,
    stored INTEGER,
    virtual INTEGER,
    rename INTEGER,
    no INTEGER,
    match INTEGER,
    comment INTEGER,
    period INTEGER,
    view INTEGER,
    begin INTEGER,
    end INTEGER,
    cast INTEGER,
    window INTEGER,
    range INTEGER,
    do INTEGER,
    row INTEGER,
    column INTEGER
);

CREATE TABLE more (
    id INTEGER PRIMARY KEY,
    key INTEGER REFERENCES words (like),
    like INTEGER REFERENCES words,
    FOREIGN KEY (id) REFERENCES words (key)
);
ALTER TABLE more ADD COLUMN if INTEGER REFERENCES words (key);
ALTER TABLE more ADD without INTEGER;
ALTER TABLE more ADD exclude INTEGER;
ALTER TABLE more ADD strict TEXT;
ALTER TABLE more RENAME like TO liked;
ALTER TABLE more RENAME COLUMN strict TO lax;
ALTER TABLE more DROP COLUMN without;
ALTER TABLE more DROP exclude;
ALTER TABLE words DROP COLUMN column;

CREATE TABLE key (a INTEGER PRIMARY KEY);
CREATE TABLE like (b INTEGER UNIQUE REFERENCES key);
CREATE TABLE without (c INTEGER REFERENCES like (b));
CREATE TABLE temp (d INTEGER);
CREATE TABLE strict (e INTEGER) STRICT;
