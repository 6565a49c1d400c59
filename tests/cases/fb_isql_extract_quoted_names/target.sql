
SET SQL DIALECT 3; 



COMMIT WORK;

/* Table: Order Items, Owner: SYSDBA */
CREATE TABLE "Order Items" ("Id" INTEGER NOT NULL,
        "Qty" INTEGER,
        "unit price" NUMERIC(12, 2),
PRIMARY KEY ("Id"));

/* View: Big Items, Owner: SYSDBA */
CREATE VIEW "Big Items" ("Id", "Qty") AS
SELECT "Id", "Qty" FROM "Order Items" WHERE "Qty" > 10;
