CREATE TABLE t (a 'abc
