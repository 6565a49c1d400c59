/* Create Table... */
CREATE TABLE `item`(`id` INTEGER(11) NOT NULL,
`price` DECIMAL(10,2),
PRIMARY KEY(`id`));


CREATE TABLE `item_log`(`id` INTEGER(11),
`note` VARCHAR(20));



/* Create Procedure... */
CREATE PROCEDURE `count_items`(OUT n INT)
 BEGIN END;


/* Create Views... */
/* Create view: cheap (ViwData.CreateDependDef) */
CREATE VIEW `cheap`
 AS 
SELECT i.id FROM item i WHERE i.price < 10 AND 'shop.item' <> ''
;


/* Alter Procedure... */
/* Restore proc. body: count_items */
DROP PROCEDURE  IF EXISTS `count_items`;

CREATE PROCEDURE `count_items`(OUT n INT)
BEGIN
  SELECT COUNT(*) INTO n FROM item; -- shop.item stays in the comment
END;


/* Create trigger... */
CREATE TRIGGER item_ai AFTER INSERT ON item FOR EACH ROW
  INSERT INTO `item_log` VALUES (NEW.id, 'shop.x');


