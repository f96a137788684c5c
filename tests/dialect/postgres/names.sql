-- Folded to lower case.
CREATE TABLE Person (
    ID integer PRIMARY KEY,
    "Full Name" text,
    "select" text
);

CREATE TABLE "Order Line" (
    "Person" integer REFERENCES PERSON (id),
    "tab	in name" integer
);

CREATE SCHEMA shop;
SET search_path = shop, public;

-- In shop, by the search path.
CREATE TABLE item (
    id integer PRIMARY KEY,
    owner integer REFERENCES person
);

CREATE TABLE public.item (
    id integer PRIMARY KEY,
    -- Resolved by the search path: shop.item.
    same integer REFERENCES item
);

SET search_path TO public;

CREATE TABLE shop."Basket" (
    item integer REFERENCES shop.item,
    other integer REFERENCES item
);
