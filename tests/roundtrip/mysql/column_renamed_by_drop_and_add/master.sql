CREATE TABLE person (id INT NOT NULL PRIMARY KEY, family_name VARCHAR(60), given_name VARCHAR(60));
