[
  {"action": "create", "kind": "table", "name": "CUSTOMERS", "reason": "", "statements": ["CREATE TABLE CUSTOMERS(ID INTEGER NOT NULL,\nNAME VARCHAR(60) NOT NULL)"]},
  {"action": "create", "kind": "column", "name": "ORDERS.CUSTOMER_ID", "reason": "", "statements": ["ALTER TABLE ORDERS ADD CUSTOMER_ID INTEGER", "ALTER TABLE ORDERS ALTER COLUMN CUSTOMER_ID POSITION 3"]},
  {"action": "recreate", "kind": "view", "name": "V_ORDERS", "reason": "column ORDERS.NOTE dropped", "statements": ["DROP VIEW V_ORDERS", "CREATE VIEW V_ORDERS(\nID,\nAMOUNT)\n AS \nSELECT ID, AMOUNT FROM ORDERS"]},
  {"action": "drop", "kind": "column", "name": "ORDERS.NOTE", "reason": "", "statements": ["ALTER TABLE ORDERS DROP NOTE"]},
  {"action": "drop", "kind": "table", "name": "ORDER_LOG", "reason": "", "statements": ["DROP TABLE ORDER_LOG"]},
  {"action": "alter", "kind": "column", "name": "ORDERS.ID", "reason": "", "statements": ["ALTER TABLE ORDERS ALTER COLUMN ID POSITION 1"]},
  {"action": "alter", "kind": "column", "name": "ORDERS.AMOUNT", "reason": "", "statements": ["ALTER TABLE ORDERS ALTER COLUMN AMOUNT POSITION 2"]}
]
