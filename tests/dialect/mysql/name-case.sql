-- Table names keep their case and differ by it; column names do not.
CREATE TABLE Customer (ID int PRIMARY KEY, Code varchar(10) UNIQUE) ENGINE=InnoDB;
CREATE TABLE customer (id int PRIMARY KEY, note text) ENGINE=InnoDB;

CREATE TABLE employee (
  id int PRIMARY KEY,
  manager_id int,
  customer_code varchar(10),
  big_customer int,
  small_customer int,
  CONSTRAINT employee_manager FOREIGN KEY (manager_id) REFERENCES employee (ID) ON DELETE SET NULL,
  FOREIGN KEY (customer_code) REFERENCES Customer (code) ON UPDATE CASCADE,
  FOREIGN KEY (BIG_CUSTOMER) REFERENCES Customer (id),
  FOREIGN KEY (small_customer) REFERENCES customer (ID)
) ENGINE=InnoDB;

ALTER TABLE employee CHANGE MANAGER_ID boss_id int;
ALTER TABLE employee MODIFY Customer_Code varchar(10) COMMENT 'Found in any case';
ALTER TABLE Customer ADD COLUMN Since date AFTER id;
RENAME TABLE customer TO client;
