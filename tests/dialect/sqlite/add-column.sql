CREATE TABLE account (
    id INTEGER PRIMARY KEY, -- the number
    name TEXT -- as written
);
CREATE TABLE owner (id INTEGER PRIMARY KEY);

-- Who owns it.
ALTER TABLE account ADD COLUMN owner_id INTEGER REFERENCES owner (id);
ALTER TABLE account ADD COLUMN opened TEXT DEFAULT '2000-01-01'; -- the day it opened
ALTER TABLE account ADD closed /* not yet */ TEXT;
ALTER TABLE account ADD COLUMN "Display Name" TEXT COLLATE NOCASE;
