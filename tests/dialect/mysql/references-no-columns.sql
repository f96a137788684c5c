CREATE TABLE author (id int NOT NULL PRIMARY KEY) ENGINE=InnoDB;
CREATE TABLE book (
  author int,
  FOREIGN KEY (author) REFERENCES author
) ENGINE=InnoDB;
