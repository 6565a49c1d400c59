CREATE TABLE shirt (
  id INT NOT NULL PRIMARY KEY,
  size ENUM('S','M','L') NOT NULL DEFAULT 'S',
  colors SET('red','green'),
  lot INT,
  flag BIT(1)
);
