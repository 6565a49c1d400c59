/* Drop Trigger... */
DROP TRIGGER `tx`;


/* Create trigger... */
CREATE TRIGGER tz BEFORE UPDATE ON s FOR EACH ROW PRECEDES `tc` SET NEW.n = NEW.n + 9;


/* Alter exist trigger... */
DROP TRIGGER `ta`;

CREATE TRIGGER ta BEFORE UPDATE ON s FOR EACH ROW FOLLOWS `tz` SET NEW.n = NEW.n + 1;

/* Alter exist trigger... */
DROP TRIGGER `tb`;

CREATE TRIGGER tb BEFORE UPDATE ON s FOR EACH ROW FOLLOWS `ta` SET NEW.n = NEW.n + 2;

