-- CREATE SCHEMA is CREATE DATABASE in MySQL.
CREATE SCHEMA IF NOT EXISTS fx_db_archive DEFAULT CHARACTER SET utf8mb4;
CREATE DATABASE fx_db_scratch;

CREATE TABLE customer (id int PRIMARY KEY, name varchar(50)) ENGINE=InnoDB;
CREATE TABLE fx_db_archive.customer (id int PRIMARY KEY, archived date) ENGINE=InnoDB;
CREATE TABLE `fx_db_archive`.`order` (
  id int PRIMARY KEY,
  customer_id int,
  FOREIGN KEY (customer_id) REFERENCES customer (id)
) ENGINE=InnoDB;

CREATE TABLE fx_db_scratch.tmp (a int) ENGINE=InnoDB;
CREATE TABLE fx_db_scratch.moving (id int PRIMARY KEY, note text) ENGINE=InnoDB;
CREATE TABLE points_at_moving (m int, FOREIGN KEY (m) REFERENCES fx_db_scratch.moving (id)) ENGINE=InnoDB;

-- Moved between databases by RENAME TABLE and ALTER TABLE ... RENAME.
RENAME TABLE fx_db_scratch.moving TO fx_db_archive.moved;
CREATE TABLE old_invoice (id int PRIMARY KEY) ENGINE=InnoDB;
ALTER TABLE old_invoice RENAME TO fx_db_archive.invoice;

-- Dropping a database drops its tables.
DROP DATABASE fx_db_scratch;
DROP SCHEMA IF EXISTS fx_db_never;

USE fx_db_archive;
ALTER TABLE customer ADD COLUMN reason varchar(100);
CREATE TABLE line (invoice_id int, FOREIGN KEY (invoice_id) REFERENCES invoice (id)) ENGINE=InnoDB;
