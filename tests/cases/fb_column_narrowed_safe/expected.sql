SET SQL DIALECT 3;

SET AUTODDL ON;

/* WARNING:
Cannot perform safe conversion of T.NAME datatype from VARCHAR(20) to VARCHAR(10)
The rows are copied through a cast: values that do not fit stop the update. */
-- orvalis --safe: not run, it converts T.NAME from VARCHAR(20) to VARCHAR(10), which can fail or lose data on existing rows
-- ALTER TABLE T ADD ZELTEMP VARCHAR(10);

-- orvalis --safe: not run, it converts T.NAME from VARCHAR(20) to VARCHAR(10), which can fail or lose data on existing rows
-- UPDATE T SET ZELTEMP = CAST(NAME AS VARCHAR(10));

COMMIT WORK;
-- orvalis --safe: not run, it converts T.NAME from VARCHAR(20) to VARCHAR(10), which can fail or lose data on existing rows
-- ALTER TABLE T DROP NAME;

-- orvalis --safe: not run, it converts T.NAME from VARCHAR(20) to VARCHAR(10), which can fail or lose data on existing rows
-- ALTER TABLE T ALTER COLUMN ZELTEMP TO NAME;

/* Alter Field (Length): from 20 to 30... */
ALTER TABLE T ALTER COLUMN WIDE TYPE VARCHAR(30);


ALTER TABLE T ALTER COLUMN ID POSITION 1;

ALTER TABLE T ALTER COLUMN NAME POSITION 2;

ALTER TABLE T ALTER COLUMN WIDE POSITION 3;

