CREATE TABLE person (id int PRIMARY KEY);
CREATE TABLE place (id int PRIMARY KEY);

CREATE TABLE note (author int REFERENCES person, place int, body text);
CREATE TABLE long_note (pages int) INHERITS (note);
-- A key added to a parent of INHERITS stays the parent's own.
ALTER TABLE note ADD CONSTRAINT note_place_fk FOREIGN KEY (place) REFERENCES place;
ALTER TABLE note ADD COLUMN reviewer int REFERENCES person;

CREATE TABLE visit (person_id int, place_id int, at date, guide int) PARTITION BY RANGE (at);
CREATE TABLE visit_2024 PARTITION OF visit FOR VALUES FROM ('2024-01-01') TO ('2025-01-01');
-- A key added to a partitioned table reaches its partitions, and goes from
-- them when it is dropped there.
ALTER TABLE visit ADD FOREIGN KEY (person_id) REFERENCES person;
ALTER TABLE visit ADD CONSTRAINT visit_place_fk FOREIGN KEY (place_id) REFERENCES place;
ALTER TABLE visit DROP CONSTRAINT visit_person_id_fkey;
CREATE TABLE visit_2025 PARTITION OF visit FOR VALUES FROM ('2025-01-01') TO ('2026-01-01');

-- Columns dropped from the partitioned table go from every partition.
ALTER TABLE visit ADD COLUMN extra int REFERENCES person, DROP COLUMN guide;
