CREATE TABLE price (id int PRIMARY KEY, amount decimal(10,2)) ENGINE=InnoDB;

-- A period of the application's own.
CREATE TABLE contract (
  id int PRIMARY KEY,
  price_id int,
  valid_from date NOT NULL,
  valid_to date NOT NULL,
  PERIOD FOR valid (valid_from, valid_to),
  FOREIGN KEY (price_id) REFERENCES price (id)
) ENGINE=InnoDB;
ALTER TABLE contract DROP PERIOD FOR valid;
ALTER TABLE contract ADD COLUMN signed_from date NOT NULL, ADD COLUMN signed_to date NOT NULL,
  ADD PERIOD FOR signed (signed_from, signed_to);

-- A sequence is a table of a kind of its own, not one of the schema.
CREATE SEQUENCE invoice_seq START WITH 100 INCREMENT BY 1;
CREATE TABLE invoice (
  no int DEFAULT NEXTVAL(invoice_seq) PRIMARY KEY,
  contract_id int REFERENCES contract (id)
) ENGINE=InnoDB;
ALTER SEQUENCE invoice_seq RESTART WITH 200;
DROP SEQUENCE IF EXISTS other_seq;
