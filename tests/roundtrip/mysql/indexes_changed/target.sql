CREATE TABLE measure (
  id INT NOT NULL PRIMARY KEY,
  taken DATETIME NOT NULL,
  sensor INT NOT NULL,
  val DOUBLE,
  note VARCHAR(200),
  INDEX ix_measure_sensor (sensor),
  INDEX ix_measure_val (val),
  INDEX ix_measure_note (note)
);
