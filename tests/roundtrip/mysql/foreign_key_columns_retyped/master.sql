CREATE TABLE customer (
  id BIGINT NOT NULL AUTO_INCREMENT,
  name VARCHAR(80) NOT NULL,
  email VARCHAR(100) DEFAULT NULL,
  PRIMARY KEY (id),
  UNIQUE KEY uq_email (email)
) ENGINE=InnoDB;
CREATE TABLE orders (
  id INT NOT NULL AUTO_INCREMENT,
  customer_id BIGINT NOT NULL,
  total DECIMAL(12,2) NOT NULL DEFAULT 0.00,
  PRIMARY KEY (id),
  KEY ix_cust (customer_id),
  CONSTRAINT fk_cust FOREIGN KEY (customer_id) REFERENCES customer (id) ON DELETE CASCADE
) ENGINE=InnoDB;
CREATE VIEW v_orders AS SELECT o.id, o.total, c.name, c.email FROM orders o JOIN customer c ON c.id = o.customer_id;
