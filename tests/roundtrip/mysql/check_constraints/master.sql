CREATE TABLE booking (
  id INT NOT NULL PRIMARY KEY,
  starts DATE,
  ends DATE,
  guests SMALLINT CHECK (guests BETWEEN 1 AND 8),
  CONSTRAINT chk_dates CHECK (ends >= starts)
);
