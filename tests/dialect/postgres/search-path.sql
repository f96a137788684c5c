CREATE SCHEMA a;
CREATE SCHEMA b;

SET search_path = a;
CREATE TABLE in_a (id int PRIMARY KEY);
RESET search_path;
CREATE TABLE after_reset (id int PRIMARY KEY);

SET search_path TO b, public;
CREATE TABLE in_b (id int PRIMARY KEY);
SET search_path TO DEFAULT;
CREATE TABLE after_default (x int REFERENCES after_reset);

-- SET LOCAL lasts until its transaction ends.
BEGIN;
SET LOCAL search_path = a;
CREATE TABLE local_a (x int REFERENCES in_a);
COMMIT;
CREATE TABLE after_local (x int REFERENCES after_reset);

SET search_path = b;
BEGIN;
SET LOCAL search_path = a;
ROLLBACK;
CREATE TABLE still_b (x int REFERENCES in_b);

-- A plain SET in a transaction that is rolled back is undone too.
BEGIN;
SET search_path = a;
ROLLBACK;
CREATE TABLE b_again (x int REFERENCES in_b);

-- A schema in the path that does not exist is passed over.
SET search_path = nowhere, a, b;
CREATE TABLE first_existing (x int REFERENCES in_b);
SET SESSION search_path = "$user", public;
CREATE TABLE back_in_public (x int);

SELECT pg_catalog.set_config('search_path', 'b', false);
CREATE TABLE set_by_function (x int REFERENCES in_b);
