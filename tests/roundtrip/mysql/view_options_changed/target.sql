CREATE TABLE orders (id INT NOT NULL PRIMARY KEY, total DECIMAL(12,2), status CHAR(1));
CREATE VIEW open_orders AS SELECT id, total, status FROM orders WHERE status IN ('O', 'P');
