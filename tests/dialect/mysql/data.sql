SET NAMES utf8mb4;
SET @saved = @@sql_mode, sql_mode = 'STRICT_ALL_TABLES';
CREATE TABLE setting (name varchar(50) PRIMARY KEY, value text) ENGINE=InnoDB;

LOCK TABLES `setting` WRITE;
/*!40000 ALTER TABLE `setting` DISABLE KEYS */;
INSERT INTO `setting` VALUES ('greeting','It\'s; a -- test /* not a comment'),('hash','# not a comment either'),
  ('delim','DELIMITER $$'),('create','CREATE TABLE fake (x int);'),('quote',"say \"hi\"; bye");
/*!40000 ALTER TABLE `setting` ENABLE KEYS */;
UNLOCK TABLES;

INSERT INTO setting (name, value) VALUES ('backslash', 'C:\\path\\'), ('x', 'y')
  ON DUPLICATE KEY UPDATE value = VALUES(value);
REPLACE INTO setting SET name = 'z', value = ');CREATE TABLE fake2 (y int';
UPDATE setting SET value = CONCAT(value, ';') WHERE name = 'x';
SET sql_mode = @saved;

CREATE TABLE audit (
  setting_name varchar(50),
  FOREIGN KEY (setting_name) REFERENCES setting (name)
) ENGINE=InnoDB;
