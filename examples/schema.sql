-- A small bookshop.
CREATE TABLE authors (
  id INTEGER PRIMARY KEY,
  -- The name as printed on the cover.
  name TEXT NOT NULL
);

/* A book, written by one of the @authors. */
CREATE TABLE books (
  id INTEGER PRIMARY KEY,
  author INTEGER REFERENCES authors (id),
  title TEXT
);
