CREATE TABLE customer (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  email VARCHAR(80) UNIQUE,
  name VARCHAR(60) NOT NULL DEFAULT 'x',
  total DECIMAL(10,2) NOT NULL DEFAULT 0 CHECK (total >= 0),
  KEY (name)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
CREATE TABLE orders (id INT PRIMARY KEY, cid INT,
  FOREIGN KEY (cid) REFERENCES customer(id) ON DELETE CASCADE);
CREATE VIEW big AS SELECT c.id, name AS nm, COUNT(*) cnt FROM customer c JOIN orders o ON o.cid = c.id GROUP BY c.id, name;
