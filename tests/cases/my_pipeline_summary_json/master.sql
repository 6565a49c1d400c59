-- Orders lose their free-text note and get a customer; the log table goes;
-- the view over orders no longer shows the note.
CREATE TABLE customers (
  id INT NOT NULL AUTO_INCREMENT,
  name VARCHAR(60) NOT NULL,
  PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
CREATE TABLE orders (
  id INT NOT NULL AUTO_INCREMENT,
  amount DECIMAL(15,2) DEFAULT NULL,
  customer_id INT DEFAULT NULL,
  PRIMARY KEY (id),
  KEY ix_orders_amount (amount)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
CREATE VIEW v_orders AS SELECT id, amount FROM orders;
