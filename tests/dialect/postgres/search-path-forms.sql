CREATE SCHEMA billing;
CREATE SCHEMA app;

-- SET SCHEMA is the standard's spelling of SET search_path.
SET SCHEMA 'billing';
CREATE TABLE invoice (id int PRIMARY KEY);
SET search_path = 'app';
CREATE TABLE account (id int PRIMARY KEY, invoice_id int REFERENCES billing.invoice);
SET search_path TO "$user", billing;
CREATE TABLE payment (invoice_id int REFERENCES invoice);
SET search_path TO DEFAULT;

-- Settings for later sessions leave this one's path alone.
ALTER ROLE CURRENT_USER SET search_path = billing;
CREATE TABLE settings (account_id int REFERENCES app.account);
ALTER ROLE CURRENT_USER RESET search_path;
