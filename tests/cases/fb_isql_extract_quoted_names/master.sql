CREATE TABLE "Order Items" ("Id" INTEGER NOT NULL PRIMARY KEY, "Qty" INTEGER, "unit price" NUMERIC(12, 2));
CREATE VIEW "Big Items" ("Id", "Qty") AS SELECT "Id", "Qty" FROM "Order Items" WHERE "Qty" > 10;
