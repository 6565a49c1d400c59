CREATE TABLE account (id INT NOT NULL PRIMARY KEY, balance DECIMAL(18,2), last_change DECIMAL(18,2));
DELIMITER $$
CREATE TRIGGER account_bu BEFORE UPDATE ON account FOR EACH ROW
  SET NEW.last_change = NEW.balance - OLD.balance$$
DELIMITER ;
