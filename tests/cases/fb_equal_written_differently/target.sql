/* The master's schema, written in another order, case and layout. */
set sql dialect 3;

set term !! ;
create procedure order_total (cust integer)
  returns (total numeric(18,2))
as
BEGIN
  SELECT SUM(AMOUNT) FROM ORDERS WHERE CUSTOMER_ID = :CUST INTO :TOTAL;
  SUSPEND;
END!!
set term ; !!

create exception e_no_customer
  'No such customer';   -- the message

create table orders (
  id          integer   not null,
  customer_id integer   not null,
  amount      numeric( 15 , 2 )  default 0  not null,
  constraint pk_orders primary key (id)
);
create index ix_orders_amount on orders (amount);

create domain d_name as varchar(60) not null;
create generator gen_id;

create table customer (
  id      integer not null,
  name    d_name,
  email   varchar(120),
  created timestamp default CURRENT_TIMESTAMP,
  constraint pk_customer primary key (id)
);
alter table orders add constraint fk_orders_customer
  foreign key (customer_id) references customer (id)
  on update cascade;
comment on table customer is 'Who buys';
create view big_orders as SELECT ID, AMOUNT FROM ORDERS WHERE AMOUNT > 1000;
