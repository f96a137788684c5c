-- Types of our own: domains, enums, composite and range types. None of them
-- is a table.
CREATE DOMAIN email AS text CHECK (VALUE ~ '^[^@]+@[^@]+$');
CREATE DOMAIN positive_int AS integer NOT NULL DEFAULT 1 CONSTRAINT positive CHECK (VALUE > 0);
CREATE TYPE mood AS ENUM ('sad', 'ok', 'happy');
CREATE TYPE address AS (street text, city text, zip varchar(10));
CREATE TYPE float_range AS RANGE (subtype = float8, subtype_diff = float8mi);
ALTER TYPE mood ADD VALUE 'ecstatic' AFTER 'happy';
ALTER TYPE address ADD ATTRIBUTE country text;
COMMENT ON TYPE address IS 'A postal address.';
COMMENT ON DOMAIN email IS 'An e-mail address.';

CREATE TABLE person (
    id integer PRIMARY KEY,
    mail email UNIQUE,
    feeling mood DEFAULT 'ok',
    home address,
    past_homes address[],
    tries positive_int
);

-- A table typed by the composite type.
CREATE TABLE office OF address (
    street WITH OPTIONS NOT NULL,
    PRIMARY KEY (street, city)
);

CREATE TABLE visit (
    person_id integer REFERENCES person,
    office_street text,
    office_city text,
    FOREIGN KEY (office_street, office_city) REFERENCES office
);
