table CUSTOMERS created
column ORDERS.CUSTOMER_ID created
view V_ORDERS recreated: column ORDERS.NOTE dropped
column ORDERS.NOTE dropped
table ORDER_LOG dropped
column ORDERS.ID altered
column ORDERS.AMOUNT altered
