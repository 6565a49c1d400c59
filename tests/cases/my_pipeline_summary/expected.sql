table customers created
column orders.customer_id created
view v_orders recreated: column orders.note dropped
column orders.note dropped
table order_log dropped
