CREATE TABLE p (id int PRIMARY KEY, code int UNIQUE) ENGINE=InnoDB;

CREATE TABLE c (
  a int,
  b int,
  d int,
  e int,
  f int REFERENCES p (id),
  FOREIGN KEY (a) REFERENCES p (id),
  FOREIGN KEY (b) REFERENCES p (id),
  CONSTRAINT c_named FOREIGN KEY (d) REFERENCES p (code),
  FOREIGN KEY (e) REFERENCES p (id)
) ENGINE=InnoDB;

-- InnoDB numbers the keys it names in the order they are written: f's is
-- c_ibfk_1, a's c_ibfk_2, b's c_ibfk_3, e's c_ibfk_4.
ALTER TABLE c DROP FOREIGN KEY c_ibfk_2;
ALTER TABLE c DROP CONSTRAINT c_named;
ALTER TABLE c DROP FOREIGN KEY IF EXISTS c_ibfk_9, DROP CONSTRAINT IF EXISTS c_ibfk_4;
ALTER TABLE c DROP FOREIGN KEY c_ibfk_1;

-- A key added later takes the next number after the highest left (c_ibfk_3):
-- a's new key is c_ibfk_4 again, e's c_ibfk_5.
ALTER TABLE c ADD FOREIGN KEY (a) REFERENCES p (code), ADD FOREIGN KEY (e) REFERENCES p (code);
ALTER TABLE c DROP FOREIGN KEY c_ibfk_4;

-- Renaming the table renames the keys named after it.
RENAME TABLE c TO c2;
ALTER TABLE c2 DROP FOREIGN KEY c2_ibfk_3;

CREATE TABLE solo (id int PRIMARY KEY, v int, FOREIGN KEY (v) REFERENCES p (id)) ENGINE=InnoDB;
ALTER TABLE solo DROP PRIMARY KEY;

CREATE TABLE parent (id int PRIMARY KEY) ENGINE=InnoDB;
CREATE TABLE child (pid int, FOREIGN KEY (pid) REFERENCES parent (id)) ENGINE=InnoDB;
-- Without the checks a referenced table may be dropped (CASCADE is only
-- allowed, not done): the keys that point at it stay, and point at the new
-- table of that name.
SET foreign_key_checks = 0;
DROP TABLE parent CASCADE;
CREATE TABLE parent (id int PRIMARY KEY, since date) ENGINE=InnoDB;
SET foreign_key_checks = 1;
