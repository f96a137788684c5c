CREATE TABLE sale (id INTEGER PRIMARY KEY, amount REAL, region TEXT);

-- A report made from a query: its columns are named by their text.
CREATE TABLE report AS
SELECT region,
       amount * 2,
       count(*),
       'fixed',
       s.id,
       s.amount AS "Total",
       upper(region) up
FROM sale s GROUP BY region;

CREATE TABLE everything AS SELECT * FROM sale;
CREATE TABLE joined AS SELECT * FROM sale a JOIN sale b USING (id);
CREATE TABLE IF NOT EXISTS everything AS SELECT 1 AS other;
CREATE TABLE with_cte AS WITH t(x, y) AS (SELECT id, region FROM sale) SELECT x, y FROM t;
CREATE TABLE valued AS VALUES (1, 'a');
