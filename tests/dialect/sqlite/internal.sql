PRAGMA foreign_keys = ON;

CREATE TABLE note (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    body TEXT
);

-- Full-text search over the notes: a virtual table and its shadow tables,
-- none of them a table of the schema.
CREATE VIRTUAL TABLE note_fts USING fts5(body, content = 'note', content_rowid = 'id');
CREATE VIRTUAL TABLE note_fts4 USING fts4(body);

CREATE TEMP TABLE scratch (a);
CREATE TEMPORARY TABLE IF NOT EXISTS scratch2 (a);

CREATE TABLE tag (
    note INTEGER REFERENCES note ON DELETE CASCADE,
    label TEXT GENERATED ALWAYS AS (lower(name)) VIRTUAL,
    name TEXT
);
ALTER TABLE tag ADD COLUMN weight REAL;
ALTER TABLE tag ADD shown INTEGER REFERENCES note (id);

CREATE TRIGGER note_gone AFTER DELETE ON note BEGIN
    DELETE FROM tag WHERE note = old.id;
    INSERT INTO note_fts (note_fts, rowid, body) VALUES ('delete', old.id, old.body);
END;

CREATE VIEW note_view AS SELECT id FROM note;
CREATE TABLE copy AS SELECT id, body FROM note;
