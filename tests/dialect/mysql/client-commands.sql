-- Commands of the mariadb client between the statements.
charset utf8mb4
warnings
CREATE TABLE author (id int PRIMARY KEY) ENGINE=InnoDB\g
SELECT COUNT(*) AS authors FROM author\G
CREATE TABLE book (
  author_id int,
  FOREIGN KEY (author_id) REFERENCES author (id)
) ENGINE=InnoDB\g
nowarning
\d //
CREATE TABLE shelf (book_id int REFERENCES book (author_id)) ENGINE=InnoDB//
\d ;
CREATE TABLE reader (id int PRIMARY KEY) ENGINE=InnoDB;
