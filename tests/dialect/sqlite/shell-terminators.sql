-- sqlite3 ends a statement at a line of its own that holds only GO or /,
-- as SQL Server's and Oracle's tools do.
CREATE TABLE author (id INTEGER PRIMARY KEY)
GO
CREATE TABLE book (author_id INTEGER REFERENCES author)
/
CREATE TABLE shelf (book_id INTEGER REFERENCES book (author_id))
  go  
CREATE TABLE reader (id INTEGER PRIMARY KEY);
