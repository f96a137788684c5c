/**/
CREATE TABLE t (UNIQUE (a));
CREATE TABLE u (/**/ a);
