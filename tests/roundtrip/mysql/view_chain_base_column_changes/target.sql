CREATE TABLE emp (id INT NOT NULL PRIMARY KEY, last_name VARCHAR(20), dept CHAR(3), old_id INT);
CREATE VIEW emp_base AS SELECT id, last_name, dept, old_id FROM emp;
CREATE VIEW emp_names AS SELECT id, last_name, old_id FROM emp_base;
CREATE VIEW emp_sorted AS SELECT last_name FROM emp_names WHERE id > 0;
