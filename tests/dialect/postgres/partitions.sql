CREATE TABLE customer (id int PRIMARY KEY, region text NOT NULL);

-- Orders, partitioned by year and then by region.
CREATE TABLE orders (
    id bigint NOT NULL,
    placed date NOT NULL,
    region text NOT NULL,
    customer_id int REFERENCES customer (id),
    PRIMARY KEY (id, placed, region)
) PARTITION BY RANGE (placed);

CREATE TABLE orders_2023 PARTITION OF orders
    FOR VALUES FROM ('2023-01-01') TO ('2024-01-01')
    PARTITION BY LIST (region);
CREATE TABLE orders_2023_eu PARTITION OF orders_2023 FOR VALUES IN ('eu');
CREATE TABLE orders_2023_us PARTITION OF orders_2023 (
    region WITH OPTIONS DEFAULT 'us'
) FOR VALUES IN ('us', 'ca');
CREATE TABLE orders_2023_rest PARTITION OF orders_2023 DEFAULT;

CREATE TABLE orders_2024 PARTITION OF orders
    FOR VALUES FROM ('2024-01-01') TO ('2025-01-01')
    PARTITION BY HASH (id);
CREATE TABLE orders_2024_h0 PARTITION OF orders_2024 FOR VALUES WITH (MODULUS 2, REMAINDER 0);
CREATE TABLE orders_2024_h1 PARTITION OF orders_2024 FOR VALUES WITH (MODULUS 2, REMAINDER 1);

-- A column and a key added to the root reach every partition.
ALTER TABLE orders ADD COLUMN note text;
CREATE TABLE coupon (code text PRIMARY KEY);
ALTER TABLE orders ADD COLUMN coupon text;
ALTER TABLE orders ADD CONSTRAINT orders_coupon_fk FOREIGN KEY (coupon) REFERENCES coupon (code);

-- A table made apart and attached: its columns are its own, in its order.
CREATE TABLE orders_2022 (
    region text NOT NULL,
    placed date NOT NULL,
    id bigint NOT NULL,
    customer_id int,
    note text,
    coupon text
);
ALTER TABLE orders ATTACH PARTITION orders_2022 FOR VALUES FROM ('2022-01-01') TO ('2023-01-01');

-- Detached, a partition stays a table, with the keys it was given.
ALTER TABLE orders DETACH PARTITION orders_2024;
ALTER TABLE orders ADD COLUMN after_detach int;

CREATE TABLE parcel (
    id bigint NOT NULL,
    region text NOT NULL,
    PRIMARY KEY (id, region)
) PARTITION BY LIST (region);
CREATE TABLE parcel_eu PARTITION OF parcel FOR VALUES IN ('eu');
CREATE TABLE parcel_us PARTITION OF parcel FOR VALUES IN ('us');

-- Items reference the partitioned table itself.
CREATE TABLE parcel_item (
    parcel_id bigint,
    region text,
    qty int,
    FOREIGN KEY (parcel_id, region) REFERENCES parcel
);

CREATE TABLE parcel_ca PARTITION OF parcel FOR VALUES IN ('ca');
ALTER TABLE parcel DETACH PARTITION parcel_us;
