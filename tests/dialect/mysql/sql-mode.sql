-- A schema written for several databases: double quotes name things.
SET SESSION sql_mode = 'ANSI_QUOTES,STRICT_TRANS_TABLES';

CREATE TABLE "customer" (
  "id" int NOT NULL PRIMARY KEY,
  "Full Name" varchar(100) COMMENT 'Quoted with double quotes'
) ENGINE=InnoDB;

CREATE TABLE "invoice" (
  "id" int PRIMARY KEY,
  "customer_id" int,
  CONSTRAINT "invoice_customer" FOREIGN KEY ("customer_id") REFERENCES "customer" ("id")
) ENGINE=InnoDB;

SET sql_mode = 'NO_BACKSLASH_ESCAPES';
-- Backslashes are plain characters now.
CREATE TABLE path (
  dir varchar(200) COMMENT 'C:\new\table',
  quote varchar(10) COMMENT 'it''s'
) ENGINE=InnoDB COMMENT='back\slash';

SET sql_mode = DEFAULT;
CREATE TABLE after_reset (
  note varchar(10) COMMENT "a \"double\" string again\ttab"
) ENGINE=InnoDB;
