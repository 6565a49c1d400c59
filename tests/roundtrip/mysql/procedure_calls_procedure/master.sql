DELIMITER $$
CREATE PROCEDURE p_square(IN x INT, OUT y INT)
BEGIN
  SET y = x * x;
END$$
CREATE PROCEDURE p_sum_squares(IN a INT, IN b INT, OUT s INT)
BEGIN
  DECLARE t INT;
  CALL p_square(a, s);
  CALL p_square(b, t);
  SET s = s + t;
END$$
DELIMITER ;
