CREATE TABLE booking (
  id INT NOT NULL PRIMARY KEY,
  starts DATE,
  ends DATE,
  guests SMALLINT,
  CONSTRAINT chk_dates CHECK (ends > starts),
  CONSTRAINT chk_old CHECK (guests > 0)
);
