CREATE TABLE line (
  id INT NOT NULL PRIMARY KEY,
  qty INT NOT NULL,
  price DECIMAL(10,2) NOT NULL,
  total DECIMAL(12,2) AS (qty * price) STORED,
  label VARCHAR(40) AS (CONCAT('#', id)) VIRTUAL,
  INDEX ix_line_total (total)
);
