-- Unreserved words are names wherever a column's name may stand.
CREATE TABLE words (
    key int PRIMARY KEY,
    comment text,
    exclude int,
    period int,
    if int UNIQUE,
    without int,
    partition int,
    inherits int,
    first int,
    after int,
    no int,
    match int,
    cascade int,
    set int,
    storage int,
    generated int,
    temp int,
    type int,
    of int,
    exists int,
    rename int
);

CREATE TABLE more (
    id int PRIMARY KEY,
    drop int REFERENCES words (key),
    add int REFERENCES words (if),
    FOREIGN KEY (id) REFERENCES words
);
ALTER TABLE more ADD COLUMN key int;
ALTER TABLE more ADD COLUMN if int;
ALTER TABLE more ADD if2 int, ADD exclude int, ADD comment int, ADD COLUMN without int;
ALTER TABLE more ADD COLUMN IF NOT EXISTS if int;
ALTER TABLE more ADD COLUMN IF NOT EXISTS exists int;
ALTER TABLE more ADD storage int REFERENCES words (key);
ALTER TABLE more ADD FOREIGN KEY (if) REFERENCES words (if);

ALTER TABLE more DROP if2;
ALTER TABLE more DROP COLUMN IF EXISTS comment;
ALTER TABLE more DROP COLUMN IF EXISTS nothing;
ALTER TABLE more RENAME exclude TO excluded;
ALTER TABLE more RENAME COLUMN without TO with_it;
ALTER TABLE more ALTER COLUMN if TYPE int, ALTER key SET DEFAULT 1;
ALTER TABLE words DROP COLUMN period, DROP first, DROP IF EXISTS after;
