CREATE TABLE node (id INT, label TEXT, parent INT REFERENCES node (id));
