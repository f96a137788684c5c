CREATE TABLE live (id int PRIMARY KEY, v int) ENGINE=InnoDB;
CREATE TABLE staging (id int PRIMARY KEY, v int, fresh int) ENGINE=InnoDB;
CREATE TABLE uses_live (live_id int, FOREIGN KEY (live_id) REFERENCES live (id)) ENGINE=InnoDB;
CREATE TABLE uses_staging (staging_id int, FOREIGN KEY (staging_id) REFERENCES staging (id)) ENGINE=InnoDB;

-- Swap the two in one statement: the keys follow their tables.
RENAME TABLE live TO swap_tmp, staging TO live, swap_tmp TO staging;

ALTER TABLE live RENAME AS current_data;
ALTER TABLE staging RENAME previous_data;
ALTER TABLE uses_live ADD COLUMN current_id int, ADD FOREIGN KEY (current_id) REFERENCES current_data (id);
