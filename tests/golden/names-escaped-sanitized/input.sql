CREATE TABLE 'order items' (
  a<b INT REFERENCES 'order items' (a<b),
  'c	d' TEXT,
  café TEXT
);
