CREATE TABLE sale (id int PRIMARY KEY, amount decimal(10,2), region varchar(10)) ENGINE=InnoDB;

-- Columns of a select are named by their text as written.
CREATE TABLE report AS
SELECT region,
       amount * 2,
       CONCAT(region, '-', id),
       COUNT(*),
       'fixed',
       42,
       s.id AS `Sale ID`,
       s.amount total
FROM sale s GROUP BY region, amount, id;

CREATE TABLE joined SELECT * FROM sale JOIN (SELECT id, region AS other_region FROM sale) b USING (id);
CREATE TABLE distinct_regions SELECT DISTINCT region FROM sale;
CREATE TABLE from_union (x int) SELECT id AS x FROM sale UNION SELECT 1;
