CREATE TABLE acct (
  id INT NOT NULL PRIMARY KEY,
  code VARCHAR(12) NOT NULL,
  bal DECIMAL(15,2) NOT NULL DEFAULT 0,
  bal_x2 DECIMAL(16,2) AS (bal * 2) VIRTUAL,
  CONSTRAINT chk_acct_code CHECK (code <> ''),
  KEY ix_acct_code (code)
);
CREATE VIEW acct_v AS SELECT id, code, bal FROM acct;
CREATE VIEW acct_rich AS SELECT code FROM acct_v WHERE bal > 1000;
DELIMITER $$
CREATE PROCEDURE acct_by_code(IN c VARCHAR(12))
BEGIN
  SELECT id, bal FROM acct WHERE code = c;
END$$
CREATE TRIGGER acct_bi BEFORE INSERT ON acct FOR EACH ROW SET NEW.code = UPPER(NEW.code)$$
DELIMITER ;
