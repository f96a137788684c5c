CREATE TABLE product (id int PRIMARY KEY, name text, price numeric);

CREATE VIEW cheap AS SELECT id, name FROM product WHERE price < 10;
CREATE OR REPLACE VIEW cheap AS SELECT id, name, price FROM product WHERE price < 10;
CREATE VIEW expensive WITH (security_barrier) AS
    SELECT * FROM product WHERE price > 100
    WITH LOCAL CHECK OPTION;
CREATE RECURSIVE VIEW countdown (n) AS VALUES (3) UNION ALL SELECT n - 1 FROM countdown WHERE n > 1;
CREATE MATERIALIZED VIEW price_stats AS
    SELECT count(*) AS n, avg(price) AS mean FROM product
    WITH NO DATA;
CREATE MATERIALIZED VIEW IF NOT EXISTS price_stats AS SELECT 1 AS n;
CREATE UNIQUE INDEX ON price_stats (n);
REFRESH MATERIALIZED VIEW price_stats;
COMMENT ON VIEW cheap IS 'Not a table.';
COMMENT ON MATERIALIZED VIEW price_stats IS 'Not a table either.';
COMMENT ON COLUMN cheap.name IS 'A view''s column.';

-- ALTER TABLE works on views too; the view is still no table.
ALTER TABLE cheap RENAME TO bargain;
ALTER TABLE bargain RENAME COLUMN name TO label;
ALTER VIEW expensive RENAME TO luxury;
ALTER MATERIALIZED VIEW price_stats RENAME TO product_stats;

CREATE INDEX CONCURRENTLY IF NOT EXISTS product_name_idx ON product USING btree (lower(name)) INCLUDE (price)
    WITH (fillfactor = 80) WHERE price IS NOT NULL;
CREATE UNIQUE INDEX product_name_key ON ONLY product (name) NULLS NOT DISTINCT;
DROP VIEW IF EXISTS countdown;
DROP MATERIALIZED VIEW IF EXISTS nothing_here;

CREATE TABLE cart (product_id int REFERENCES product, qty int DEFAULT 1);
