create table Customer (
  ID integer not null,
  Name varchar(40) null default null,
  Active bool not null default true,
  primary key (ID),
  key ix_name (Name)
);
