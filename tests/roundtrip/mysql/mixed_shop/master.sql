CREATE TABLE customer (
  id INT UNSIGNED NOT NULL AUTO_INCREMENT,
  email VARCHAR(120) NOT NULL,
  name VARCHAR(80) NOT NULL,
  created TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP,
  PRIMARY KEY (id),
  UNIQUE KEY uq_customer_email (email)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
CREATE TABLE product (
  id INT UNSIGNED NOT NULL AUTO_INCREMENT,
  sku VARCHAR(20) NOT NULL,
  price DECIMAL(10,2) NOT NULL CHECK (price >= 0),
  stock INT NOT NULL DEFAULT 0,
  PRIMARY KEY (id),
  UNIQUE KEY uq_product_sku (sku)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
CREATE TABLE orders (
  id INT UNSIGNED NOT NULL AUTO_INCREMENT,
  customer_id INT UNSIGNED NOT NULL,
  status ENUM('new','paid','shipped') NOT NULL DEFAULT 'new',
  total DECIMAL(12,2) NOT NULL DEFAULT 0,
  PRIMARY KEY (id),
  KEY ix_orders_status (status),
  CONSTRAINT fk_orders_customer FOREIGN KEY (customer_id) REFERENCES customer (id) ON DELETE RESTRICT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
CREATE TABLE order_line (
  order_id INT UNSIGNED NOT NULL,
  line_no SMALLINT NOT NULL,
  product_id INT UNSIGNED NOT NULL,
  qty INT NOT NULL,
  amount DECIMAL(12,2) NOT NULL,
  PRIMARY KEY (order_id, line_no),
  CONSTRAINT fk_line_order FOREIGN KEY (order_id) REFERENCES orders (id) ON DELETE CASCADE,
  CONSTRAINT fk_line_product FOREIGN KEY (product_id) REFERENCES product (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
CREATE VIEW customer_totals AS SELECT customer_id, SUM(total) AS total FROM orders GROUP BY customer_id;
CREATE VIEW big_customers AS SELECT customer_id FROM customer_totals WHERE total > 1000;
DELIMITER $$
CREATE TRIGGER line_ai AFTER INSERT ON order_line FOR EACH ROW
BEGIN
  UPDATE orders SET total = total + NEW.amount WHERE id = NEW.order_id;
  UPDATE product SET stock = stock - NEW.qty WHERE id = NEW.product_id;
END$$
CREATE PROCEDURE pay_order(IN oid INT UNSIGNED)
BEGIN
  UPDATE orders SET status = 'paid' WHERE id = oid;
END$$
DELIMITER ;
