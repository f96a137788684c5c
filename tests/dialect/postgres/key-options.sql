-- A primary key with columns only carried in its index.
CREATE TABLE product (
    id int,
    sku text,
    name text,
    CONSTRAINT product_pkey PRIMARY KEY (id) INCLUDE (sku, name)
        WITH (fillfactor = 90) USING INDEX TABLESPACE pg_default
);
CREATE TABLE stock (product_id int REFERENCES product, qty int);

CREATE TABLE variant (
    product_id int,
    code text,
    colour text,
    UNIQUE (product_id, code) INCLUDE (colour),
    EXCLUDE USING btree (colour WITH =) WHERE (colour IS NOT NULL)
);
ALTER TABLE variant ADD PRIMARY KEY (code, product_id) INCLUDE (colour);
CREATE TABLE variant_stock (
    code text,
    product_id int,
    FOREIGN KEY (code, product_id) REFERENCES variant
);
