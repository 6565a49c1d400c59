CREATE TABLE measure (
  id INT NOT NULL PRIMARY KEY,
  taken DATETIME NOT NULL,
  sensor INT NOT NULL,
  val DOUBLE,
  note VARCHAR(200),
  INDEX ix_measure_sensor (sensor, taken),
  INDEX ix_measure_taken (taken DESC),
  INDEX ix_measure_note (note(20))
);
