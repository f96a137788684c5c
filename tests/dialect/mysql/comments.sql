-- People who write.
CREATE TABLE writer (
  id int NOT NULL PRIMARY KEY COMMENT 'Chosen by the writer', -- and never changed
  # Shown on the cover.
  pen_name varchar(64) COMMENT 'As on the cover; ''quoted'' and \"double\".',
  born date COMMENT 'First line\nsecond line',
  note text COMMENT '',
  -- Host: the machine it runs on.
  host varchar(64)
) ENGINE=InnoDB COMMENT='Everyone who wrote a book -- or half of one.';

CREATE TABLE draft (
  title varchar(200) COMMENT "Double-quoted in MySQL: a string"
) COMMENT 'Without the equals sign' ENGINE=InnoDB;
