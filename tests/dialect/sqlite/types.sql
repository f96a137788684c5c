-- Any words make a type in SQLite, or none at all.
CREATE TABLE loose (
    a,
    b INT,
    c VARCHAR(255),
    d UNSIGNED BIG INT,
    e DOUBLE PRECISION DEFAULT 1.5,
    f "quoted type",
    g timestamp with time zone DEFAULT CURRENT_TIMESTAMP,
    h DECIMAL(10, 2) NOT NULL DEFAULT (0),
    i NATIVE CHARACTER(70),
    j BLOB,
    k long text collate nocase,
    l int primary key desc
);

CREATE TABLE kv (
    key TEXT NOT NULL,
    value ANY,
    loose_id INTEGER REFERENCES loose,
    PRIMARY KEY (key)
) STRICT, WITHOUT ROWID;

CREATE TABLE counter (
    id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,
    n INTEGER DEFAULT -1 CHECK (n >= -1),
    kv_key TEXT CONSTRAINT fk_kv REFERENCES kv (key) ON DELETE CASCADE DEFERRABLE INITIALLY DEFERRED
) STRICT;
