/* Example target database: an older version of the master schema. */
SET SQL DIALECT 3;

CREATE TABLE CUSTOMER (
  ID        INTEGER NOT NULL,
  NAME      VARCHAR(60) NOT NULL,
  EMAIL     VARCHAR(120),
  CONSTRAINT PK_CUSTOMER PRIMARY KEY (ID)
);

CREATE TABLE OLD_LOG (
  ID   INTEGER NOT NULL,
  TEXT VARCHAR(200)
);

SET TERM ^ ;

/* Reads OLD_LOG, which the master no longer has: the update must empty
   this procedure before it drops the table, and give it its new body at
   the end. */
CREATE PROCEDURE CUSTOMER_ORDERS (A_CUSTOMER INTEGER)
RETURNS (ORDER_ID INTEGER, AMOUNT NUMERIC(15,2))
AS
BEGIN
  FOR SELECT ID, CHAR_LENGTH(TEXT) FROM OLD_LOG WHERE ID = :A_CUSTOMER
      INTO :ORDER_ID, :AMOUNT
  DO SUSPEND;
END^

SET TERM ; ^
