CREATE TABLE p (id int PRIMARY KEY, code int UNIQUE) ENGINE=InnoDB;

CREATE DATABASE fx_use_other;
CREATE TABLE fx_use_other.q (id int PRIMARY KEY) ENGINE=InnoDB;
CREATE TABLE here (
  pid int,
  qid int,
  FOREIGN KEY (pid) REFERENCES p (id),
  FOREIGN KEY (qid) REFERENCES fx_use_other.q (id)
) ENGINE=InnoDB;

-- After USE a name without a database means the one used.
USE fx_use_other;
CREATE TABLE p (id int PRIMARY KEY, label int UNIQUE) ENGINE=InnoDB;
CREATE TABLE c (pid int, qid int, FOREIGN KEY (pid) REFERENCES p (id), FOREIGN KEY (qid) REFERENCES q (id))
  ENGINE=InnoDB;
ALTER TABLE c ADD lbl int, ADD FOREIGN KEY (lbl) REFERENCES p (label);

-- Also before the table is made there, and where only the first database has
-- one of that name (the key then points at nothing).
SET foreign_key_checks = 0;
CREATE TABLE early (rid int, hid int, FOREIGN KEY (rid) REFERENCES r (id), FOREIGN KEY (hid) REFERENCES here (pid))
  ENGINE=InnoDB;
CREATE TABLE r (id int PRIMARY KEY) ENGINE=InnoDB;
SET foreign_key_checks = 1;
