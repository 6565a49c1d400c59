CREATE TABLE sale (id INT NOT NULL PRIMARY KEY, amount DECIMAL(12,2), region CHAR(2));
DELIMITER $$
CREATE FUNCTION net_amount(gross DECIMAL(12,2), rate DECIMAL(5,2)) RETURNS DECIMAL(12,2)
  DETERMINISTIC
  RETURN gross / (1 + rate / 100)$$
CREATE PROCEDURE region_totals(IN r CHAR(2), OUT total DECIMAL(18,2))
  READS SQL DATA
  COMMENT 'sum per region'
BEGIN
  SELECT SUM(net_amount(amount, 19)) INTO total FROM sale WHERE region = r;
END$$
DELIMITER ;
