CREATE TABLE city (id int PRIMARY KEY, name text, note text);

COPY city (id, name, note) FROM stdin;
1	Paris	it's; here -- not a comment
2	Köln	\N
3	/* x	CREATE TABLE fake (a int);
\.

copy city FROM STDIN WITH (FORMAT csv, HEADER true);
id,name,note
4,"Lyon; ""big""","multi
line"
\.

COPY city TO STDOUT;

-- After the data.
CREATE TABLE street (city_id int REFERENCES city, name text);
INSERT INTO street VALUES (1, $$Rue de l'Église; $$), (2, E'Ring\\'), (3, 'a''b');
CREATE TABLE house (street_name text, no int);
