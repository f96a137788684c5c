-- a PostgreSQL dump
SET search_path = public;
CREATE SCHEMA s;
CREATE TABLE public.u (id int PRIMARY KEY, "Name" text);
CREATE TABLE s.t (a int REFERENCES u, b int, c int, FOREIGN KEY (b, c) REFERENCES u (id, "Name"));
ALTER TABLE ONLY s.t ADD CONSTRAINT f FOREIGN KEY (a) REFERENCES public.u(id);
COMMENT ON TABLE s.t IS E'x\ny';
COMMENT ON COLUMN public.u.id IS 'key';
CREATE FUNCTION f() RETURNS int AS $$ select 1; $$ LANGUAGE sql;
COPY u FROM stdin;
1	x
\.
\unrestrict x
