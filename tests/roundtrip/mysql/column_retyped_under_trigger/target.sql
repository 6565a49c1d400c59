CREATE TABLE account (id INT NOT NULL PRIMARY KEY, balance INT, last_change INT, nick VARCHAR(20));
DELIMITER $$
CREATE TRIGGER account_bu BEFORE UPDATE ON account FOR EACH ROW
  SET NEW.last_change = NEW.balance - OLD.balance$$
DELIMITER ;
