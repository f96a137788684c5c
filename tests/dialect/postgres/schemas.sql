CREATE TABLE plain (id int PRIMARY KEY);
CREATE SCHEMA moved_to;
CREATE TABLE moving (id int PRIMARY KEY, p int REFERENCES plain);
CREATE TABLE points_at_moving (m int REFERENCES moving);
ALTER TABLE moving SET SCHEMA moved_to;
ALTER TABLE IF EXISTS moved_to.moving ADD COLUMN after_move int;

CREATE SCHEMA hr
    CREATE TABLE dept (id int PRIMARY KEY)
    CREATE TABLE staff (id int PRIMARY KEY, dept int REFERENCES dept, boss int REFERENCES plain)
    CREATE VIEW staff_view AS SELECT id FROM staff;
CREATE TABLE hr_user (s int REFERENCES hr.staff);

CREATE SCHEMA doomed;
CREATE TABLE doomed.t (id int PRIMARY KEY);
CREATE TABLE uses_doomed (d int REFERENCES doomed.t, p int REFERENCES plain);
DROP SCHEMA doomed CASCADE;

CREATE SCHEMA old_schema;
CREATE TABLE old_schema.t (id int PRIMARY KEY);
CREATE TABLE old_schema.u (t int REFERENCES old_schema.t);
CREATE TABLE uses_old (t int REFERENCES old_schema.t);
ALTER SCHEMA old_schema RENAME TO new_schema;
CREATE TABLE new_schema.v (u int REFERENCES new_schema.t);

CREATE SCHEMA IF NOT EXISTS hr;
DROP SCHEMA IF EXISTS nothing CASCADE;
