CREATE TABLE sale (id int PRIMARY KEY, amount numeric, region text, sold timestamptz);
CREATE TABLE region (region text PRIMARY KEY, manager text);

-- A report table: each column named as PostgreSQL names a select's output.
CREATE TABLE sale_report AS
SELECT s.region,
       s.amount::int,
       CAST(s.sold AS date),
       'fixed'::text,
       1,
       CASE WHEN s.amount > 10 THEN 'big' ELSE 'small' END,
       coalesce(r.manager, 'nobody'),
       row_number() OVER (ORDER BY s.id),
       EXISTS (SELECT 1 FROM region),
       ARRAY[s.id],
       (SELECT max(id) FROM sale),
       date_trunc('day', s.sold) AS "Day",
       s.id AS "ID"
FROM sale s LEFT JOIN region r USING (region);

CREATE TABLE joined AS SELECT * FROM sale JOIN region USING (region);
CREATE TABLE star AS SELECT r.*, s.id FROM region r, sale s;
CREATE TABLE with_cte AS WITH t AS (SELECT id, amount FROM sale) SELECT id AS sale_id, amount FROM t;
CREATE TABLE unioned AS SELECT id FROM sale UNION SELECT 1 AS other;
CREATE TABLE totals AS SELECT region, count(*), sum(amount), max(sold)::date FROM sale GROUP BY region;
CREATE TABLE grouped (r, total) AS SELECT region, sum(amount) FROM sale GROUP BY region;
