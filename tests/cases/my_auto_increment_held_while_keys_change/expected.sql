/* AUTO_INCREMENT of line(id) held back while its keys change */
ALTER TABLE `line` MODIFY COLUMN `id` INTEGER(11) NOT NULL;

ALTER TABLE `line` DROP PRIMARY KEY;

/* Drop Index... */
DROP INDEX `uq_code` ON `tag`;

/* AUTO_INCREMENT of visit(id) held back while its keys change */
ALTER TABLE `visit` MODIFY COLUMN `id` BIGINT(20) NOT NULL;

DROP INDEX `uq_visit` ON `visit`;


/* Create index... */
CREATE INDEX `ix_id` ON `line`(`id`);


/* Create Primary Key... */
ALTER TABLE `line` ADD PRIMARY KEY (`order_no`, `id`);

ALTER TABLE `note` ADD PRIMARY KEY (`id`);

ALTER TABLE `tag` ADD PRIMARY KEY (`code`);

ALTER TABLE `visit` ADD PRIMARY KEY (`id`);


ALTER TABLE `line` MODIFY COLUMN `id` INTEGER(11) NOT NULL AUTO_INCREMENT;

ALTER TABLE `note` MODIFY COLUMN `id` INTEGER(11) NOT NULL AUTO_INCREMENT;

ALTER TABLE `visit` MODIFY COLUMN `id` BIGINT(20) NOT NULL AUTO_INCREMENT;

