/* Create Table... */
CREATE TABLE `customers`(`id` INTEGER(11) NOT NULL AUTO_INCREMENT,
`name` VARCHAR(60) NOT NULL,
PRIMARY KEY(`id`))
ENGINE=InnoDB
DEFAULT CHARSET=utf8mb4;



ALTER TABLE `orders` ADD `customer_id` INTEGER(11);

/* Drop table-fields... */
/* Dropped view v_orders for column orders.note */
DROP VIEW `v_orders`
;

ALTER TABLE `orders` DROP `note`;


/* Drop tables... */
DROP TABLE `order_log`;


/* Create Views... */
/* Create view: v_orders (ViwData.CreateDependDef) */
/* Created again view v_orders: column orders.note dropped */
CREATE VIEW `v_orders`
 AS 
SELECT id, amount FROM orders
;


