CREATE TABLE `order items` (`Id` INT NOT NULL PRIMARY KEY, `qty` INT, `unit price` DECIMAL(12,2));
CREATE VIEW `big items` AS SELECT `Id`, `qty` FROM `order items` WHERE `qty` > 10;
