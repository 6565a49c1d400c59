[
  {"action": "create", "kind": "table", "name": "customers", "reason": "", "statements": ["CREATE TABLE `customers`(`id` INTEGER(11) NOT NULL AUTO_INCREMENT,\n`name` VARCHAR(60) NOT NULL,\nPRIMARY KEY(`id`))\nENGINE=InnoDB\nDEFAULT CHARSET=utf8mb4"]},
  {"action": "create", "kind": "column", "name": "orders.customer_id", "reason": "", "statements": ["ALTER TABLE `orders` ADD `customer_id` INTEGER(11)"]},
  {"action": "recreate", "kind": "view", "name": "v_orders", "reason": "column orders.note dropped", "statements": ["DROP VIEW `v_orders`", "CREATE VIEW `v_orders`\n AS \nSELECT id, amount FROM orders"]},
  {"action": "drop", "kind": "column", "name": "orders.note", "reason": "", "statements": ["ALTER TABLE `orders` DROP `note`"]},
  {"action": "drop", "kind": "table", "name": "order_log", "reason": "", "statements": ["DROP TABLE `order_log`"]}
]
