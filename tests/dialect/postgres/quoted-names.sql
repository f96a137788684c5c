-- Names as an ORM writes them: quoted, in mixed case.
CREATE TABLE "UserAccount" (
    "Id" serial PRIMARY KEY,
    "EmailAddress" text NOT NULL, -- kept in mixed case
    "createdAt" timestamptz
);

-- Not the same table as "UserAccount".
CREATE TABLE useraccount (
    id int PRIMARY KEY,
    "Id" int REFERENCES "UserAccount" ("Id")
);

CREATE TABLE "Order" (
    "Id" serial PRIMARY KEY,
    "UserAccountId" int NOT NULL,
    "user" int REFERENCES UserAccount,
    "a""quote" text,
    CONSTRAINT "FK_Order_UserAccount" FOREIGN KEY ("UserAccountId") REFERENCES "UserAccount" ("Id") ON DELETE CASCADE
);
COMMENT ON TABLE "Order" IS 'Orders, quoted because ORDER is reserved.';
COMMENT ON COLUMN "Order"."UserAccountId" IS 'Who ordered.';
COMMENT ON COLUMN "Order"."a""quote" IS 'A name with a quote in it.';
COMMENT ON COLUMN useraccount."Id" IS 'The mixed-case one.';
COMMENT ON COLUMN UserAccount.ID IS 'Folded: the lower-case one.';

ALTER TABLE "Order" RENAME COLUMN "user" TO "User";
ALTER TABLE "Order" ADD COLUMN "Total" numeric, ADD "Order" int REFERENCES "Order";
ALTER TABLE "UserAccount" RENAME TO "Customer";
CREATE INDEX "IX_Order_UserAccountId" ON "Order" ("UserAccountId");
