CREATE TABLE customer (id int unsigned NOT NULL AUTO_INCREMENT PRIMARY KEY, email varchar(200)) ENGINE=InnoDB;
CREATE TABLE orders (
  id int unsigned NOT NULL AUTO_INCREMENT PRIMARY KEY,
  cust int unsigned,
  note varchar(100),
  legacy_code char(4),
  total decimal(10,2)
) ENGINE=InnoDB;

ALTER TABLE orders
  -- When the order was placed.
  ADD COLUMN placed_at datetime NOT NULL DEFAULT CURRENT_TIMESTAMP AFTER id,
  ADD INDEX orders_placed (placed_at),
  ADD UNIQUE KEY orders_note (note),
  CHANGE COLUMN cust customer_id int unsigned NOT NULL,
  ADD CONSTRAINT orders_customer FOREIGN KEY (customer_id) REFERENCES customer (id) ON DELETE CASCADE,
  MODIFY total decimal(12,2) NOT NULL DEFAULT 0 FIRST,
  DROP COLUMN legacy_code,
  ALTER COLUMN note SET DEFAULT '',
  ALGORITHM = COPY, LOCK = SHARED;

ALTER TABLE orders RENAME INDEX orders_note TO orders_note_uq;
ALTER TABLE orders CONVERT TO CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
ALTER TABLE orders DEFAULT CHARSET = utf8mb4, COMMENT = 'Orders of the customers', AUTO_INCREMENT = 5000;
ALTER ONLINE TABLE orders ADD COLUMN IF NOT EXISTS channel varchar(20) COMMENT 'web or shop';
ALTER TABLE orders ADD COLUMN IF NOT EXISTS channel int COMMENT 'Not added: it exists';
ALTER TABLE orders DROP COLUMN IF EXISTS nothing_here, MODIFY COLUMN IF EXISTS nothing_either int;
ALTER TABLE orders CHANGE COLUMN IF EXISTS note remark varchar(100);
ALTER IGNORE TABLE orders ADD COLUMN coupon varchar(20) AFTER remark;
ALTER TABLE orders DROP INDEX orders_placed, DROP KEY orders_note_uq;

-- A key named by its index name only.
ALTER TABLE orders ADD COLUMN referrer int unsigned,
  ADD FOREIGN KEY referrer_idx (referrer) REFERENCES customer (id);
ALTER TABLE orders ADD FOREIGN KEY IF NOT EXISTS orders_customer (customer_id) REFERENCES customer (id);
ALTER TABLE orders RENAME TO purchase, ADD COLUMN after_rename int;
-- MariaDB names the key by the index name.
ALTER TABLE purchase DROP FOREIGN KEY referrer_idx;
