-- Stock keeping units.
CREATE TABLE sku (
    id int PRIMARY KEY,
    code text, -- the printed code
    weight int
);
COMMENT ON TABLE sku IS 'SKUs.';
COMMENT ON COLUMN sku.code IS 'Printed on the label.';
COMMENT ON COLUMN sku.weight IS 'In grams.';

-- Renamed, the comments go along; a new type keeps them too.
ALTER TABLE sku RENAME TO stock_unit;
ALTER TABLE stock_unit RENAME COLUMN code TO label_code;
ALTER TABLE stock_unit ALTER COLUMN weight TYPE numeric;

-- Dropped and made again, a column has no comment.
ALTER TABLE stock_unit DROP COLUMN weight;
ALTER TABLE stock_unit ADD COLUMN weight numeric;

-- Comments on other things are no table's.
COMMENT ON CONSTRAINT sku_pkey ON stock_unit IS 'The key.';
COMMENT ON INDEX sku_pkey IS 'Its index.';
COMMENT ON SCHEMA public IS 'The default schema.';
CREATE SEQUENCE stock_seq;
COMMENT ON SEQUENCE stock_seq IS 'A sequence.';
CREATE VIEW stock_view AS SELECT id, label_code FROM stock_unit;
COMMENT ON COLUMN stock_view.label_code IS 'The view''s column.';
CREATE FUNCTION stock_count() RETURNS bigint LANGUAGE sql AS $$ SELECT count(*) FROM stock_unit $$;
COMMENT ON FUNCTION stock_count() IS 'A function.';

CREATE TABLE shelf (id int PRIMARY KEY);
COMMENT ON TABLE shelf IS 'The first shelf table.';
COMMENT ON COLUMN shelf.id IS 'Its id.';
DROP TABLE shelf;
-- Shelves, made again.
CREATE TABLE shelf (id int PRIMARY KEY, unit_id int REFERENCES stock_unit);

CREATE TABLE measure (at date, v int) PARTITION BY RANGE (at);
CREATE TABLE measure_2024 PARTITION OF measure FOR VALUES FROM ('2024-01-01') TO ('2025-01-01');
CREATE TABLE measure_2025 PARTITION OF measure FOR VALUES FROM ('2025-01-01') TO ('2026-01-01');
COMMENT ON TABLE measure IS $$Readings,
by date.$$;
COMMENT ON COLUMN measure.v IS 'The reading: the partitions have no comment.';
COMMENT ON TABLE measure_2024 IS $x$A year's partition; its $$ stay.$x$;

BEGIN;
COMMENT ON TABLE shelf IS 'Shelves.';
SAVEPOINT before_change;
COMMENT ON TABLE shelf IS 'Undone.';
COMMENT ON COLUMN shelf.unit_id IS 'Undone too.';
ROLLBACK TO before_change;
COMMIT;
