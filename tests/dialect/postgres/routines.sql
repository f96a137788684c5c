CREATE TABLE account (id int PRIMARY KEY, balance numeric DEFAULT 0);

-- A function in the standard's own body: no dollar quotes, semicolons inside.
CREATE FUNCTION account_count() RETURNS bigint
    LANGUAGE sql STABLE
BEGIN ATOMIC
    SELECT count(*) FROM account;
END;

CREATE PROCEDURE reset_balances()
LANGUAGE sql
BEGIN ATOMIC
    UPDATE account SET balance = CASE WHEN balance < 0 THEN 0 ELSE balance END;
    DELETE FROM account WHERE balance IS NULL;
END;

CREATE TABLE after_atomic (
    account_id int REFERENCES account
);

-- An old-style body in a plain string, with doubled quotes and semicolons.
CREATE OR REPLACE FUNCTION greet(name text) RETURNS text AS '
    BEGIN
        RETURN ''Hello, '' || name || ''; CREATE TABLE fake (x int);'';
    END;
' LANGUAGE plpgsql IMMUTABLE;

CREATE FUNCTION audit_trigger() RETURNS trigger
LANGUAGE plpgsql AS $function$
BEGIN
    INSERT INTO audit_log (account_id, at) VALUES (NEW.id, now());
    RETURN NEW;
END
$function$;

CREATE TABLE audit_log (
    account_id int REFERENCES account ON DELETE CASCADE,
    at timestamptz
);

CREATE TRIGGER account_audit AFTER INSERT OR UPDATE OF balance ON account
    FOR EACH ROW WHEN (NEW.balance IS DISTINCT FROM 0) EXECUTE PROCEDURE audit_trigger();
CREATE CONSTRAINT TRIGGER account_check AFTER INSERT ON account
    DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION audit_trigger();
CREATE RULE no_delete AS ON DELETE TO audit_log DO INSTEAD NOTHING;
CREATE AGGREGATE total(numeric) (SFUNC = numeric_add, STYPE = numeric, INITCOND = '0');

CREATE FUNCTION nested() RETURNS void LANGUAGE plpgsql AS $outer$
BEGIN
    EXECUTE $inner$SELECT 1; $inner$;
END;
$outer$;

CREATE TABLE last_one (id int REFERENCES account);
