CREATE TABLE dept (id INT NOT NULL, code CHAR(3) NOT NULL, name VARCHAR(30), PRIMARY KEY (code));
CREATE TABLE emp (id INT NOT NULL, dept_code CHAR(3) NOT NULL, PRIMARY KEY (id, dept_code));
