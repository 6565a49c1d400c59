CREATE TABLE address (id INT NOT NULL PRIMARY KEY, street VARCHAR(60), city VARCHAR(40), zip CHAR(5), country CHAR(2));
