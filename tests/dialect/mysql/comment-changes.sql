CREATE TABLE item (
  id int PRIMARY KEY COMMENT 'The key',
  name varchar(50) COMMENT 'Shown to buyers',
  price int COMMENT 'In cents',
  weight int COMMENT 'In grams',
  stock int COMMENT 'On hand'
) ENGINE=InnoDB COMMENT='Things we sell';

-- MODIFY and CHANGE define the column anew: without COMMENT it has none.
ALTER TABLE item MODIFY name varchar(100) NOT NULL;
ALTER TABLE item CHANGE price price_cents int;
-- RENAME COLUMN and ALTER COLUMN keep it.
ALTER TABLE item RENAME COLUMN weight TO grams;
ALTER TABLE item ALTER COLUMN stock SET DEFAULT 0;
ALTER TABLE item ALTER stock DROP DEFAULT;
ALTER TABLE item COMMENT = '';
ALTER TABLE item MODIFY id int COMMENT 'Still the key';

CREATE TABLE seller (id int PRIMARY KEY COMMENT 'Who sells') ENGINE=InnoDB COMMENT 'Sellers';
ALTER TABLE seller COMMENT 'Sellers, again', ENGINE=InnoDB;
ALTER TABLE seller CHANGE COLUMN id id int COMMENT '';
