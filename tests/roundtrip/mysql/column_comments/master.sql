CREATE TABLE part (id INT NOT NULL PRIMARY KEY COMMENT 'key', code VARCHAR(10) COMMENT 'internal code',
  weight DECIMAL(8,3) COMMENT 'kg') COMMENT='parts we stock';
