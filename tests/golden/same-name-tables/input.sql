-- first
CREATE TABLE t (a);
-- second
CREATE TABLE t (b);
CREATE TABLE r (x REFERENCES t (a), y REFERENCES t (b));
