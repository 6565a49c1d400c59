CREATE TABLE `Customer` (
  `ID` int(11) NOT NULL,
  `Name` varchar(40) DEFAULT NULL,
  `Active` tinyint(1) NOT NULL DEFAULT 1,
  PRIMARY KEY (`ID`),
  INDEX `ix_name` (`Name`)
);
