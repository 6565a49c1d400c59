CREATE TABLE part (id INT NOT NULL PRIMARY KEY COMMENT 'key', code VARCHAR(10) COMMENT 'internal code')
  ENGINE=InnoDB ROW_FORMAT=COMPACT DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci COMMENT='parts we stock';
CREATE TABLE note (id INT NOT NULL PRIMARY KEY, body TEXT COMMENT 'free text', INDEX ix_body (body(20)));
