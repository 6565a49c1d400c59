CREATE TABLE users (
  id INT NOT NULL PRIMARY KEY,
  login VARCHAR(30) NOT NULL,
  email VARCHAR(80),
  tenant INT NOT NULL,
  KEY uq_users_login (tenant, login),
  UNIQUE KEY ix_users_email (email)
);
