-- A table with every construct the reader knows.
/* Framed
 * block comment.
 *
 * Second paragraph. */
CREATE TEMP TABLE IF NOT EXISTS "order items" (
  id INTEGER PRIMARY KEY,
  -- Points at itself.
  parent INT REFERENCES "order items" (id) ON DELETE CASCADE,
  owner INT NOT NULL REFERENCES users (id) REFERENCES accounts (id),
  note TEXT DEFAULT ',',
  UNIQUE (id, owner),
  FOREIGN KEY (own) REFERENCES users (id),
  CHECK (id > 0)
) WITHOUT ROWID;
CREATE INDEX i ON users (id);
DROP TABLE x;
cr tab users (id, name 'text');
CREATE TABLE accounts (id);
