CREATE TABLE p (a int PRIMARY KEY, b int UNIQUE, c int UNIQUE, d int UNIQUE) ENGINE=InnoDB;
CREATE TABLE r (
  pa int,
  pb int,
  pc int,
  pd int,
  FOREIGN KEY (pa) REFERENCES p (a),
  FOREIGN KEY (pb) REFERENCES p (b),
  FOREIGN KEY (pc) REFERENCES p (c),
  FOREIGN KEY (pd) REFERENCES p (d)
) ENGINE=InnoDB;

-- The keys that point at a renamed column follow it.
ALTER TABLE p CHANGE a a2 int;
ALTER TABLE p CHANGE COLUMN b b2 int;
ALTER TABLE p RENAME COLUMN c TO c2;
ALTER TABLE p MODIFY d int COMMENT 'Still d.';

-- So do the keys of a renamed column of their own.
ALTER TABLE r CHANGE pa pa2 int, RENAME COLUMN pb TO pb2;
