CREATE TABLE customer (
  id INT NOT NULL AUTO_INCREMENT,
  name VARCHAR(50) NOT NULL,
  PRIMARY KEY (id)
) ENGINE=InnoDB;
CREATE TABLE orders (
  id INT NOT NULL AUTO_INCREMENT,
  customer_id INT NOT NULL,
  total DECIMAL(10,2) DEFAULT NULL,
  PRIMARY KEY (id),
  KEY ix_cust (customer_id),
  CONSTRAINT fk_cust FOREIGN KEY (customer_id) REFERENCES customer (id) ON DELETE CASCADE
) ENGINE=InnoDB;
CREATE VIEW v_orders AS SELECT o.id, o.total, c.name FROM orders o JOIN customer c ON c.id = o.customer_id;
