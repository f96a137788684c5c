CREATE TABLE account (id int PRIMARY KEY);

-- Every kind of vehicle.
CREATE TABLE vehicle (
    id int PRIMARY KEY,
    owner int REFERENCES account (id),
    wheels int
);
CREATE TABLE car (doors int) INHERITS (vehicle);
CREATE TABLE sports_car (top_speed int) INHERITS (car);

-- A foreign key is not inherited; a column added to the root reaches the
-- whole chain.
ALTER TABLE vehicle ADD COLUMN plate text;

-- Made apart, then joined to the chain: its columns stay as they are.
CREATE TABLE truck (
    payload int,
    id int NOT NULL,
    owner int,
    wheels int,
    plate text
);
ALTER TABLE truck INHERIT vehicle;
ALTER TABLE vehicle ADD COLUMN colour text;

-- Parted from the chain, a table keeps what it has and gets nothing more.
ALTER TABLE car NO INHERIT vehicle;
ALTER TABLE vehicle ADD COLUMN vin text;

-- ONLY keeps the column in the children, now their own.
ALTER TABLE ONLY vehicle DROP COLUMN wheels;

-- A column dropped on the root goes from the children that only inherit it.
ALTER TABLE vehicle DROP COLUMN colour;

-- Renaming on the root renames in the children.
ALTER TABLE vehicle RENAME COLUMN plate TO licence_plate;

-- A column of its own and inherited too stays when the parent drops it.
CREATE TABLE bus (seats int, vin text) INHERITS (vehicle);
ALTER TABLE vehicle DROP COLUMN vin;

CREATE TABLE animal (id int PRIMARY KEY, name text);
CREATE TABLE dog (breed text, chip text) INHERITS (animal);

-- The child has the column already: it is merged where it stands, not
-- added again.
ALTER TABLE animal ADD COLUMN chip text;
ALTER TABLE animal ADD COLUMN born date;

-- Renaming it on the parent renames the merged column too.
ALTER TABLE animal RENAME COLUMN chip TO microchip;

-- Dropping it on the parent keeps the child's, which was its own first.
ALTER TABLE animal DROP COLUMN microchip;
ALTER TABLE animal DROP COLUMN born;
