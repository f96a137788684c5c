CREATE TABLE config (key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE IF NOT EXISTS config (key TEXT PRIMARY KEY, value TEXT, never TEXT);

-- A temporary table hides the real one of its name: what follows changes
-- the temporary table.
CREATE TEMP TABLE config (key TEXT, scratch TEXT);
ALTER TABLE config ADD COLUMN more TEXT;
ALTER TABLE config RENAME COLUMN scratch TO scribble;
DROP TABLE config;

-- Then the name means the real table again.
ALTER TABLE config ADD COLUMN owner TEXT;
CREATE TEMP TABLE job (id INTEGER);
ALTER TABLE job RENAME TO job_tmp;
CREATE TABLE job (id INTEGER PRIMARY KEY, config_key TEXT REFERENCES config);
DROP TABLE IF EXISTS temp.job_tmp;
DROP TABLE IF EXISTS missing_table;
