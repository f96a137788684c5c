/*!40101 SET @OLD_CHARACTER_SET_CLIENT=@@CHARACTER_SET_CLIENT */;
/*!40014 SET @OLD_FOREIGN_KEY_CHECKS=@@FOREIGN_KEY_CHECKS, FOREIGN_KEY_CHECKS=0 */;

-- MariaDB runs the code of /*!NNNNN ...*/ up to MySQL 5.6, and of
-- /*!NNNNNN ...*/ and /*M!NNNNNN ...*/ up to its own version.
CREATE TABLE `author` (
  `id` int NOT NULL,
  `name` varchar(100) /*!40100 COLLATE utf8mb4_bin */,
  /*!50100 `born` date, */
  /*!999999 `future` int, */
  /*!50700 `mysql57` int, */
  /*!80016 `mysql8` int, */
  /*M!100300 `maria_only` int, */
  /*M!999999 `maria_future` int, */
  PRIMARY KEY (`id`)
) /*!50100 ENGINE=InnoDB */ /*!40101 DEFAULT CHARSET=utf8mb4 */;

CREATE TABLE `book` (
  `id` int NOT NULL PRIMARY KEY,
  `author_id` int /*!50100 REFERENCES `author` (`id`) */,
  `editor_id` int,
  /*!40101 CONSTRAINT `book_editor` FOREIGN KEY (`editor_id`) REFERENCES `author` (`id`) */
) ENGINE=InnoDB;

/*!50100 ALTER TABLE `book` ADD COLUMN `isbn` char(13) */;
/*!99999 ALTER TABLE `book` ADD COLUMN `never` int */;
/*! ALTER TABLE `book` ADD COLUMN `always` int */;
/*!50100 CREATE TABLE `from_comment` (`book_id` int, FOREIGN KEY (`book_id`) REFERENCES `book` (`id`)) ENGINE=InnoDB */;
/*!40014 SET FOREIGN_KEY_CHECKS=@OLD_FOREIGN_KEY_CHECKS */;
