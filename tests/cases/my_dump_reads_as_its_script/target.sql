/*M!999999\- enable the sandbox mode */ 
/*!40101 SET NAMES utf8mb4 */;
DROP TABLE IF EXISTS `customer`;
CREATE TABLE `customer` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `email` varchar(80) DEFAULT NULL,
  `name` varchar(60) NOT NULL DEFAULT 'x',
  `total` decimal(10,2) NOT NULL DEFAULT 0.00 CHECK (`total` >= 0),
  PRIMARY KEY (`id`),
  UNIQUE KEY `email` (`email`),
  KEY `name` (`name`)
) ENGINE=InnoDB AUTO_INCREMENT=12 DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
DROP TABLE IF EXISTS `orders`;
CREATE TABLE `orders` (
  `id` int(11) NOT NULL,
  `cid` int(11) DEFAULT NULL,
  PRIMARY KEY (`id`),
  KEY `cid` (`cid`),
  CONSTRAINT `orders_ibfk_1` FOREIGN KEY (`cid`) REFERENCES `customer` (`id`) ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
DROP TABLE IF EXISTS `big`;
/*!50001 DROP VIEW IF EXISTS `big`*/;
/*!50001 CREATE VIEW `big` AS SELECT
 NULL AS `id`,
 NULL AS `nm`,
 NULL AS `cnt` */;
/*!50001 DROP VIEW IF EXISTS `big`*/;
/*!50001 CREATE ALGORITHM=UNDEFINED DEFINER=`root`@`localhost` SQL SECURITY DEFINER VIEW `big` AS select `c`.`id` AS `id`,`c`.`name` AS `nm`,count(0) AS `cnt` from (`customer` `c` join `orders` `o` on(`o`.`cid` = `c`.`id`)) group by `c`.`id`,`c`.`name` */;
