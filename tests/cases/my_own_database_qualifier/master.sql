CREATE DATABASE shop;
USE shop;
CREATE TABLE item (id INT NOT NULL PRIMARY KEY, price DECIMAL(10,2));
CREATE TABLE item_log (id INT, note VARCHAR(20));
CREATE VIEW cheap AS SELECT i.id FROM shop.item i WHERE i.price < 10 AND 'shop.item' <> '';
DELIMITER $$
CREATE TRIGGER item_ai AFTER INSERT ON `shop`.item FOR EACH ROW
  INSERT INTO `shop`.`item_log` VALUES (NEW.id, 'shop.x')$$
CREATE PROCEDURE count_items(OUT n INT)
BEGIN
  SELECT COUNT(*) INTO n FROM shop.item; -- shop.item stays in the comment
END$$
DELIMITER ;
