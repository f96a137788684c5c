CREATE TABLE author (
  id int NOT NULL PRIMARY KEY
) ENGINE=MyISAM;

-- MyISAM keeps no foreign keys: the catalog has none of these.
CREATE TABLE book (
  id int NOT NULL PRIMARY KEY,
  author int,
  FOREIGN KEY (author) REFERENCES author (id)
) ENGINE=MyISAM;

CREATE TEMPORARY TABLE scratch (a int);
CREATE TABLE copy AS SELECT id FROM author;
CREATE VIEW author_view AS SELECT id FROM author;
