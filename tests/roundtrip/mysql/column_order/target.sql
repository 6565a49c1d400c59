CREATE TABLE address (id INT NOT NULL PRIMARY KEY, zip CHAR(5), city VARCHAR(40), street VARCHAR(60), country CHAR(2));
