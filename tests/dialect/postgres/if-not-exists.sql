-- Run twice by its deploy script: the second time changes nothing.
CREATE TABLE IF NOT EXISTS team (
    id int PRIMARY KEY,
    name text
);
CREATE TABLE IF NOT EXISTS member (
    team_id int REFERENCES team,
    login text
);

CREATE TABLE IF NOT EXISTS team (
    id int PRIMARY KEY,
    name text,
    slogan text
);
CREATE TABLE IF NOT EXISTS member (
    team_id int,
    login text,
    mentor_team int REFERENCES team
);
ALTER TABLE member ADD COLUMN IF NOT EXISTS joined date;
ALTER TABLE member ADD COLUMN IF NOT EXISTS joined timestamptz REFERENCES team;
ALTER TABLE member DROP COLUMN IF EXISTS left_on;
CREATE TABLE IF NOT EXISTS copy_of_team AS SELECT id FROM team;
CREATE TABLE IF NOT EXISTS copy_of_team AS SELECT id, name FROM team;
CREATE SCHEMA IF NOT EXISTS extra;
CREATE TABLE IF NOT EXISTS extra.team (LIKE team);
CREATE TABLE IF NOT EXISTS extra.team (LIKE member);
