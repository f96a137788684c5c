-- Readings of the meters.
CREATE TABLE reading (
  meter_id int NOT NULL,
  taken date NOT NULL,
  value decimal(10,3),
  label varchar(50),
  PRIMARY KEY (meter_id, taken) COMMENT 'One reading a day',
  KEY reading_value (value) USING BTREE COMMENT 'For the reports',
  UNIQUE INDEX reading_label USING HASH (label) COMMENT 'Labels are unique',
  KEY reading_taken (taken) COMMENT 'By day'
) ENGINE=InnoDB COMMENT='Meter readings'
PARTITION BY RANGE (YEAR(taken)) (
  PARTITION p_old VALUES LESS THAN (2020) COMMENT = 'Before 2020',
  PARTITION p_new VALUES LESS THAN MAXVALUE COMMENT 'From 2020 on'
);

CREATE TABLE meter (
  id int PRIMARY KEY,
  serial varchar(20),
  geo point NOT NULL,
  KEY meter_serial (serial) COMMENT 'Lookups by serial',
  FULLTEXT KEY meter_serial_ft (serial) COMMENT 'Search',
  SPATIAL INDEX meter_geo (geo) COMMENT 'Where'
) ENGINE=InnoDB;
ALTER TABLE meter ADD INDEX meter_id_serial (id, serial) COMMENT 'Covering', ADD COLUMN note text;
CREATE INDEX meter_note ON meter (note(10)) COMMENT 'By note';
