CREATE TABLE genre (id SMALLINT NOT NULL PRIMARY KEY, name VARCHAR(30) NOT NULL UNIQUE) ENGINE=InnoDB;
CREATE TABLE title (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  name VARCHAR(120) NOT NULL,
  genre_id SMALLINT,
  published SMALLINT CHECK (published > 1400),
  CONSTRAINT fk_title_genre FOREIGN KEY (genre_id) REFERENCES genre (id)
) ENGINE=InnoDB;
CREATE TABLE loan (
  id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  title_id INT NOT NULL,
  out_on DATE NOT NULL,
  back_on DATE,
  KEY ix_loan_out (out_on DESC),
  CONSTRAINT fk_loan_title FOREIGN KEY (title_id) REFERENCES title (id)
) ENGINE=InnoDB;
CREATE VIEW open_loans AS SELECT l.id, t.name, l.out_on FROM loan l JOIN title t ON t.id = l.title_id WHERE l.back_on IS NULL;
DELIMITER $$
CREATE PROCEDURE return_loan(IN lid INT)
BEGIN
  UPDATE loan SET back_on = CURDATE() WHERE id = lid;
END$$
DELIMITER ;
