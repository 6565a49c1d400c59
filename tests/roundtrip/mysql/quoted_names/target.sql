CREATE TABLE `order items` (`Id` INT NOT NULL PRIMARY KEY, `qty` INT, `select` INT);
CREATE VIEW `big items` AS SELECT `Id`, `qty` FROM `order items` WHERE `qty` > 10;
