CREATE TABLE article (id INT NOT NULL PRIMARY KEY, title VARCHAR(200), body TEXT, spot POINT NOT NULL,
  FULLTEXT KEY ft_article (title, body), SPATIAL KEY sp_article (spot)) ENGINE=InnoDB;
