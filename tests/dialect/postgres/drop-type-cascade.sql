-- A typed table goes with its type.
CREATE TYPE pair AS (a int, b int);
CREATE TABLE pairs OF pair;
DROP TYPE pair CASCADE;

-- Columns of a domain go with the domain.
CREATE DOMAIN money_amount AS numeric(12, 2) CHECK (VALUE >= 0);
CREATE TABLE ledger (id int PRIMARY KEY, amount money_amount, note text);
DROP DOMAIN money_amount CASCADE;

-- And of any other type of the file's own.
CREATE TYPE float_range AS RANGE (subtype = float8, subtype_diff = float8mi);
CREATE TABLE reading (id int PRIMARY KEY, span float_range, ledger_id int REFERENCES ledger);
DROP TYPE float_range CASCADE;
