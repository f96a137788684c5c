-- Saved by an editor that writes a byte order mark first.
CREATE TABLE bom_first (id int PRIMARY KEY);
CREATE TABLE bom_second (first_id int REFERENCES bom_first (id));
