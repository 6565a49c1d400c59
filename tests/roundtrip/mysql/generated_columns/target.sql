CREATE TABLE line (
  id INT NOT NULL PRIMARY KEY,
  qty INT NOT NULL,
  price DECIMAL(10,2) NOT NULL,
  total DECIMAL(12,2) AS (qty * price) VIRTUAL,
  label VARCHAR(40) AS (CONCAT('item ', id)) VIRTUAL
);
