\set ON_ERROR_STOP on
\set app_schema app
\set owner_table 'owner'
\set note 'Kept by psql\'s variables.'
\echo creating the schema :app_schema

CREATE SCHEMA :app_schema;
SET search_path TO :"app_schema", public;

-- The owners, named by a variable.
CREATE TABLE :owner_table (
    id int PRIMARY KEY
);
CREATE TABLE :"app_schema".pet (
    id int PRIMARY KEY,
    owner_id int REFERENCES :"owner_table" (id)
);
COMMENT ON TABLE :owner_table IS :'note';
RESET search_path;
