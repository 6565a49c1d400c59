CREATE TABLE shirt (
  id INT UNSIGNED NOT NULL PRIMARY KEY,
  size ENUM('S','M','L','XL') NOT NULL DEFAULT 'M',
  colors SET('red','green','blue'),
  lot INT(6) UNSIGNED ZEROFILL,
  flag BIT(3) DEFAULT b'101'
);
