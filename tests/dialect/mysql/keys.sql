# Keys and indexes as MySQL writes them.
CREATE TABLE `region` (
  `code` char(2) NOT NULL,
  `name` varchar(64) NOT NULL,
  PRIMARY KEY (`code`),
  UNIQUE KEY `region_name` (`name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS city (
  country char(2) NOT NULL,
  zip varchar(10) NOT NULL,
  region char(2) DEFAULT NULL,
  name varchar(64) NOT NULL,
  `key` int,
  `index` int,
  notes text,
  kind char(1) CHECK (kind IN ('r', 'u')),
  PRIMARY KEY (country, zip),
  KEY city_region (region),
  INDEX (name),
  FULLTEXT KEY city_notes (notes),
  CONSTRAINT city_region_fk FOREIGN KEY (region) REFERENCES region (code) ON DELETE SET NULL
) ENGINE=InnoDB ROW_FORMAT=DYNAMIC;

-- A composite foreign key.
CREATE TABLE address (
  id int unsigned NOT NULL AUTO_INCREMENT PRIMARY KEY,
  country char(2) NOT NULL,
  zip varchar(10) NOT NULL,
  FOREIGN KEY (country, zip) REFERENCES city (country, zip)
) ENGINE=InnoDB AUTO_INCREMENT=100;

/*!40101 SET @saved_cs_client = @@character_set_client */;
CREATE TABLE visit (
  region char(2) REFERENCES region (code),
  at datetime
);
