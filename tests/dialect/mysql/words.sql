-- Words that MariaDB does not reserve are names wherever a column's name
-- may stand.
CREATE TABLE words (
  comment int PRIMARY KEY COMMENT 'A column named comment.',
  first int UNIQUE,
  after int,
  engine int,
  exclude int,
  without int,
  modify int,
  columns int,
  action int,
  last int,
  storage int,
  temporary int,
  data int,
  start int,
  end int,
  value int,
  status int,
  no int,
  type int,
  charset int,
  invisible int,
  generated int,
  always int,
  virtual int,
  persistent int,
  stored int,
  algorithm int,
  only int,
  period int,
  system int
) ENGINE=InnoDB COMMENT='Words as names.';

CREATE TABLE more (
  id int PRIMARY KEY,
  engine int,
  FOREIGN KEY (engine) REFERENCES words (comment)
) ENGINE=InnoDB;
ALTER TABLE more ADD comment int COMMENT 'Added.', ADD FOREIGN KEY (comment) REFERENCES words (first);
ALTER TABLE more ADD COLUMN first int FIRST, ADD after int AFTER first;
ALTER TABLE more ADD COLUMN period int, ADD COLUMN system int;
ALTER TABLE more ADD modify int, ADD storage int, ADD exclude int;
ALTER TABLE more CHANGE modify changed int, MODIFY storage bigint, DROP exclude;
ALTER TABLE more ADD algorithm int, ALGORITHM = INPLACE;
ALTER TABLE words DROP COLUMN period, DROP last, DROP COLUMN system, DROP only;
ALTER TABLE words RENAME COLUMN after TO later;
