/* AUTO_INCREMENT of entry(id) held back while its keys change */
ALTER TABLE `entry` MODIFY COLUMN `id` INTEGER(11) NOT NULL;

ALTER TABLE `entry` DROP PRIMARY KEY;

/* Create index... */
CREATE UNIQUE INDEX `uq_id` ON `entry`(`id`);


/* Create Primary Key... */
ALTER TABLE `draft` ADD PRIMARY KEY (`id`);

ALTER TABLE `entry` ADD PRIMARY KEY (`grp`, `id`);


ALTER TABLE `draft` MODIFY COLUMN `id` INTEGER(11) NOT NULL AUTO_INCREMENT;

ALTER TABLE `entry` MODIFY COLUMN `id` INTEGER(11) NOT NULL AUTO_INCREMENT;

