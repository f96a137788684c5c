-- SQLite takes a string where a name stands, and many keywords as names.
CREATE TABLE 'order' (
    'id' INTEGER PRIMARY KEY,
    "group" TEXT,
    [select] TEXT,
    `from` TEXT,
    action TEXT,
    query TEXT,
    plan TEXT,
    filter TEXT,
    over TEXT,
    nulls TEXT,
    last TEXT,
    offset TEXT,
    current TEXT,
    rows TEXT,
    groups TEXT,
    others TEXT,
    ties TEXT,
    materialized TEXT,
    "a.b" TEXT,
    "with ""quotes""" TEXT
);
CREATE TABLE "a.b" (
    order_id INTEGER REFERENCES 'order' ('id'),
    [Order Line] INTEGER REFERENCES [ORDER]
);
CREATE TABLE Mixed (Id INTEGER PRIMARY KEY);
CREATE TABLE other (m INTEGER REFERENCES MIXED (ID), n INTEGER REFERENCES mixed);
ALTER TABLE "a.b" RENAME COLUMN 'Order Line' TO [line];
ALTER TABLE MIXED RENAME TO MixedCase;
ALTER TABLE 'order' ADD COLUMN 'added' TEXT;
