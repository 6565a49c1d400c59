CREATE TABLE genre (id SMALLINT NOT NULL PRIMARY KEY, name VARCHAR(30) NOT NULL) ENGINE=MyISAM;
CREATE TABLE title (
  id INT NOT NULL PRIMARY KEY,
  name VARCHAR(80) NOT NULL,
  genre_id SMALLINT,
  published SMALLINT
) ENGINE=InnoDB;
CREATE TABLE loan (
  id INT NOT NULL PRIMARY KEY,
  title_id INT NOT NULL,
  member_no INT,
  out_on DATE NOT NULL,
  back_on DATE,
  KEY ix_loan_out (out_on)
) ENGINE=InnoDB;
CREATE VIEW open_loans AS SELECT l.id, t.name FROM loan l JOIN title t ON t.id = l.title_id WHERE l.back_on IS NULL;
DELIMITER $$
CREATE PROCEDURE return_loan(IN lid INT, IN member INT)
BEGIN
  UPDATE loan SET back_on = CURDATE() WHERE id = lid AND member_no = member;
END$$
DELIMITER ;
