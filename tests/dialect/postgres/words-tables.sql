-- Unreserved words are names of tables too.
CREATE TABLE if (a int PRIMARY KEY);
CREATE TABLE key (a int PRIMARY KEY, b int REFERENCES if);
CREATE TABLE IF NOT EXISTS exclude (a int PRIMARY KEY REFERENCES key (a));
CREATE TABLE without (a int);
ALTER TABLE without ADD b int REFERENCES exclude (a);
ALTER TABLE IF EXISTS partition ADD c int;
CREATE TABLE partition (a int UNIQUE, b int REFERENCES if (a));
ALTER TABLE partition RENAME TO inherits;
CREATE TABLE temp (a int REFERENCES inherits (a));
