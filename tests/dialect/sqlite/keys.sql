-- Regions of the world.
CREATE TABLE region (
    code TEXT PRIMARY KEY,
    name TEXT NOT NULL UNIQUE
);

CREATE TABLE "City" (
    country TEXT,
    zip TEXT,
    region TEXT REFERENCES Region,  -- the region's primary key
    [name] TEXT CONSTRAINT name_set CHECK (name <> ''),
    `uniq` INTEGER,
    key TEXT,
    kind TEXT CHECK (kind IN ('r', 'u')),
    PRIMARY KEY (country, zip),
    CONSTRAINT city_name UNIQUE (country, name)
) WITHOUT ROWID;

CREATE TABLE address (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    country TEXT NOT NULL,
    zip TEXT NOT NULL,
    bill_country TEXT, bill_zip TEXT, -- the billing city
    FOREIGN KEY (country, zip) REFERENCES city (country, zip),
    FOREIGN KEY (bill_country, bill_zip) REFERENCES CITY
) STRICT;

CREATE TABLE country (code TEXT PRIMARY KEY);

CREATE TABLE IF NOT EXISTS visit (
    -- Two foreign keys start from it.
    region TEXT REFERENCES region (code) REFERENCES country,
    at TEXT -- when
);
