DELIMITER //
CREATE PROCEDURE nothing()
BEGIN
  SELECT 1; SELECT 2;
END//
DELIMITER ;

CREATE TABLE `author` (`id` int NOT NULL, PRIMARY KEY (`id`)) ENGINE=InnoDB;
CREATE TABLE `book` (`id` int NOT NULL, `author` int) ENGINE=InnoDB;

ALTER TABLE `book` ADD CONSTRAINT `book_author` FOREIGN KEY (`author`) REFERENCES `author` (`id`);
ALTER TABLE book ADD COLUMN editor int, ADD KEY (editor);
ALTER TABLE book ADD reviewer int COMMENT 'Added later', ADD FOREIGN KEY (reviewer) REFERENCES author (id);
ALTER TABLE book ADD FOREIGN KEY (editor) REFERENCES author(id);
