CREATE TABLE "a<b>" (
  'x&y' INT REFERENCES "a<b>" ('q"r'),
  'q"r' INT,
  'tab	col' TEXT,
  'new
line' TEXT
);
