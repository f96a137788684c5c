CREATE SCHEMA IF NOT EXISTS billing;
CREATE SCHEMA audit AUTHORIZATION CURRENT_USER;

CREATE TABLE public.customer (id int PRIMARY KEY, name text);

-- Invoices, in the billing schema.
CREATE TABLE billing.invoice (
    id int PRIMARY KEY,
    customer_id int NOT NULL REFERENCES public.customer (id),
    total numeric
);

-- The same name in two schemas.
CREATE TABLE billing.customer (
    id int PRIMARY KEY,
    public_id int REFERENCES customer
);

SET search_path TO billing, public;
-- Unqualified: billing.customer comes first in the path.
CREATE TABLE payment (
    id int PRIMARY KEY,
    invoice_id int REFERENCES invoice,
    customer_id int REFERENCES customer
);
CREATE TABLE audit.log (
    id bigint PRIMARY KEY,
    payment_id int REFERENCES payment,
    invoice_id int REFERENCES billing.invoice (id)
);
COMMENT ON TABLE invoice IS 'In billing, found through the path.';
COMMENT ON COLUMN customer.public_id IS 'billing.customer''s.';
COMMENT ON TABLE public.customer IS 'The one in public.';
ALTER TABLE customer ADD COLUMN note text;
RESET search_path;

ALTER TABLE billing.payment RENAME TO receipt;
ALTER TABLE audit.log RENAME COLUMN payment_id TO receipt_id;
CREATE TABLE audit.log_archive (LIKE audit.log INCLUDING ALL);
ALTER TABLE billing.receipt SET SCHEMA audit;
CREATE TABLE later (r int REFERENCES audit.receipt);
