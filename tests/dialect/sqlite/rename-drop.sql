CREATE TABLE p (id INTEGER PRIMARY KEY, code TEXT UNIQUE);
CREATE TABLE c (pid INTEGER REFERENCES p, pcode TEXT REFERENCES p (code));

-- Renaming a table or a column rewrites the references to it.
ALTER TABLE p RENAME TO parent;
ALTER TABLE parent RENAME COLUMN code TO label;
ALTER TABLE c RENAME COLUMN pcode TO plabel;

-- A dropped table leaves the references to it in place: they point at
-- nothing, and at the table of that name that is made later.
CREATE TABLE gone (id INTEGER PRIMARY KEY);
CREATE TABLE back (id INTEGER PRIMARY KEY);
CREATE TABLE d (g INTEGER REFERENCES gone (id), b INTEGER REFERENCES back (id));
DROP TABLE gone;
DROP TABLE back;
CREATE TABLE back (id INTEGER PRIMARY KEY, since TEXT);
