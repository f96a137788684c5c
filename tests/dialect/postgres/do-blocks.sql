CREATE TABLE account (id int PRIMARY KEY);
CREATE TABLE invoice (id int PRIMARY KEY, account_id int);

-- The idempotent migration's way to make a type once.
DO $$
BEGIN
    CREATE TYPE status AS ENUM ('open', 'paid');
EXCEPTION
    WHEN duplicate_object THEN NULL;
END
$$;

-- And to add a key only where it is missing, as ORMs write it.
DO $$ BEGIN
 ALTER TABLE "invoice" ADD CONSTRAINT "invoice_account_fk" FOREIGN KEY ("account_id") REFERENCES "public"."account"("id") ON DELETE cascade ON UPDATE no action;
EXCEPTION
 WHEN duplicate_object THEN null;
END $$;

DO LANGUAGE plpgsql $do$
BEGIN
    EXECUTE 'CREATE TABLE made_by_execute (id int, account_id int REFERENCES account)';
    ALTER TABLE account ADD COLUMN IF NOT EXISTS status status DEFAULT 'open';
END
$do$;

CREATE TABLE after_do (invoice_id int REFERENCES invoice);
