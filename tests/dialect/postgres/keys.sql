-- Regions of the world.
CREATE TABLE region (
    code char(2) PRIMARY KEY,
    name text NOT NULL
);

CREATE TABLE city (
    country char(2),
    zip text,
    region char(2) REFERENCES region,       -- the region's primary key
    name text CONSTRAINT name_set CHECK (name <> ''),
    uniq integer,
    exclude integer, -- a name here, not a constraint
    key text,
    kind char(1) CHECK (kind IN ('r', 'u')),
    PRIMARY KEY (country, zip),
    CONSTRAINT city_name UNIQUE (country, name),
    EXCLUDE USING gist (box(point(uniq, uniq), point(uniq, uniq)) WITH &&)
);

CREATE TABLE address (
    id serial PRIMARY KEY,
    country char(2) NOT NULL,
    zip text NOT NULL,
    -- The same city again, as the billing one.
    bill_country char(2),
    bill_zip text,
    FOREIGN KEY (country, zip) REFERENCES city (country, zip),
    CONSTRAINT billing FOREIGN KEY (bill_country, bill_zip) REFERENCES city,
    CHECK (zip <> '')
);

CREATE TABLE country (
    code char(2) PRIMARY KEY
);

-- A column that two foreign keys start from.
CREATE TABLE visit (
    region char(2) REFERENCES region (code) REFERENCES country,
    at timestamp with time zone DEFAULT now()
);
