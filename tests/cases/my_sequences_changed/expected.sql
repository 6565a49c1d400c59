/* Create sequence... */
CREATE SEQUENCE `seq_invoice` start with 1000 minvalue 1000 maxvalue 999999 increment by 10 cache 20 nocycle;

CREATE SEQUENCE `seq_ticket` start with 1 minvalue 1 maxvalue 9223372036854775806 increment by 1 cache 1000 nocycle;


ALTER SEQUENCE `seq_c` start with -5 minvalue -100 maxvalue -1 increment by -1 nocache cycle restart;

ALTER SEQUENCE `seq_old` start with 1 minvalue 1 maxvalue 9223372036854775806 increment by 1 nocache nocycle restart;

/* Drop sequence... */
DROP SEQUENCE `seq_x`;


