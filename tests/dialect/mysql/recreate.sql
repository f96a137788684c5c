CREATE TABLE IF NOT EXISTS `user` (
  `id` int NOT NULL PRIMARY KEY,
  `login` varchar(50) COMMENT 'First definition'
) ENGINE=InnoDB;
-- Run again with more columns: the table stays as it was.
CREATE TABLE IF NOT EXISTS `user` (
  `id` int NOT NULL PRIMARY KEY,
  `login` varchar(50) COMMENT 'Second definition',
  `email` varchar(200)
) ENGINE=InnoDB COMMENT='Never said';

CREATE TABLE `role` (`id` int PRIMARY KEY, `name` varchar(20)) ENGINE=InnoDB;
-- MariaDB's CREATE OR REPLACE makes the table anew.
CREATE OR REPLACE TABLE `role` (
  `id` int PRIMARY KEY,
  `label` varchar(40) COMMENT 'Replaced'
) ENGINE=InnoDB COMMENT='Roles';

CREATE TABLE `user_role` (
  `user_id` int,
  `role_id` int,
  FOREIGN KEY (`user_id`) REFERENCES `user` (`id`),
  FOREIGN KEY (`role_id`) REFERENCES `role` (`id`)
) ENGINE=InnoDB;

-- Swap in a new version of the table under the old name.
CREATE TABLE `user_new` (
  `id` int NOT NULL PRIMARY KEY,
  `login` varchar(50),
  `display_name` varchar(100)
) ENGINE=InnoDB;
RENAME TABLE `user` TO `user_old`, `user_new` TO `user`;
CREATE TABLE `session` (`user_id` int, FOREIGN KEY (`user_id`) REFERENCES `user` (`id`)) ENGINE=InnoDB;

CREATE TABLE scratch1 (a int);
CREATE TABLE scratch2 (b int);
DROP TABLE IF EXISTS scratch1, nothing_here, scratch2;
DROP TEMPORARY TABLE IF EXISTS `role`;

-- A temporary table hides the real one for the session.
CREATE TEMPORARY TABLE `role` (`tmp` int);
ALTER TABLE `role` ADD COLUMN `tmp2` int;
DROP TABLE `role`;
ALTER TABLE `role` ADD COLUMN `after_temp` int;
