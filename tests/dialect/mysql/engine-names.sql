CREATE TABLE p (id int PRIMARY KEY) engine=innodb;

-- The engine's name in any case, and quoted.
CREATE TABLE quoted (p int, FOREIGN KEY (p) REFERENCES p (id)) ENGINE='InnoDB';
CREATE TABLE backquoted (p int, FOREIGN KEY (p) REFERENCES p (id)) ENGINE=`InnoDB`;
CREATE TABLE double_quoted (p int, FOREIGN KEY (p) REFERENCES p (id)) ENGINE "InnoDB";
CREATE TABLE aria (p int, FOREIGN KEY (p) REFERENCES p (id)) ENGINE=Aria;
CREATE TABLE memory (p int, FOREIGN KEY (p) REFERENCES p (id)) ENGINE=MEMORY;

-- SET GLOBAL changes the default of later sessions, not of this one.
SET default_storage_engine = 'innodb';
SET GLOBAL default_storage_engine = Aria;
CREATE TABLE after_global (p int, FOREIGN KEY (p) REFERENCES p (id));
SET @@global.default_storage_engine = InnoDB;
SET SESSION default_storage_engine = Aria;
CREATE TABLE after_session (p int, FOREIGN KEY (p) REFERENCES p (id));
SET @@session.default_storage_engine = InnoDB;
CREATE TABLE after_at_session (p int, FOREIGN KEY (p) REFERENCES p (id));
