CREATE TABLE emp (id INT NOT NULL PRIMARY KEY, last_name VARCHAR(60), dept CHAR(3));
CREATE VIEW emp_base AS SELECT id, last_name, dept FROM emp;
CREATE VIEW emp_names AS SELECT id, last_name FROM emp_base;
CREATE VIEW emp_sorted AS SELECT last_name FROM emp_names WHERE id > 0;
