CREATE TABLE p (id int PRIMARY KEY);

-- The default engine decides for every table that does not name one.
SET default_storage_engine = MyISAM;
CREATE TABLE m_parent (id int PRIMARY KEY);
CREATE TABLE m_child (pid int, FOREIGN KEY (pid) REFERENCES p (id));
SET SESSION default_storage_engine = InnoDB;
CREATE TABLE i_child (pid int, FOREIGN KEY (pid) REFERENCES p (id));
SET @@default_storage_engine = 'MyISAM';
CREATE TABLE named (pid int, FOREIGN KEY (pid) REFERENCES p (id)) ENGINE=InnoDB;
SET default_storage_engine = DEFAULT;
CREATE TABLE back_to_default (pid int, FOREIGN KEY (pid) REFERENCES p (id));

CREATE TABLE later (id int PRIMARY KEY, pid int) ENGINE=MyISAM;
-- ALTER TABLE ... ENGINE= changes it for what comes after.
ALTER TABLE later ENGINE=InnoDB;
ALTER TABLE later ADD FOREIGN KEY (pid) REFERENCES p (id);
CREATE TABLE refers_later (lid int, FOREIGN KEY (lid) REFERENCES later (id)) ENGINE=InnoDB;
ALTER TABLE m_parent ENGINE = InnoDB;
ALTER TABLE m_child ENGINE = InnoDB, ADD FOREIGN KEY (pid) REFERENCES m_parent (id);
CREATE TABLE stays_myisam (pid int) ENGINE=MyISAM;
ALTER TABLE stays_myisam ADD FOREIGN KEY (pid) REFERENCES p (id);
