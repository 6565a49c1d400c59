create table customer (
  id int not null,
  name varchar(40),
  constraint pk_customer primary key (id)
);
create index ix_customer_name on customer (name);
