/* Create Table... */
CREATE TABLE `customers`(`id` INTEGER(11) NOT NULL AUTO_INCREMENT,
`name` VARCHAR(60) NOT NULL,
PRIMARY KEY(`id`))
ENGINE=InnoDB
DEFAULT CHARSET=utf8mb4;



ALTER TABLE `orders` ADD `customer_id` INTEGER(11);

/* Drop table-fields... */
DROP VIEW `v_orders`
;

-- orvalis --safe: not run, it drops column orders.note and its data
-- ALTER TABLE `orders` DROP `note`;


/* Drop tables... */
-- orvalis --safe: not run, it drops table order_log and its rows
-- DROP TABLE `order_log`;


/* Create Views... */
/* Create view: v_orders (ViwData.CreateDependDef) */
CREATE VIEW `v_orders`
 AS 
SELECT id, amount FROM orders
;


