/* Create Table... */
CREATE TABLE `note`(`id` INTEGER(11) NOT NULL,
`body` TEXT COMMENT 'free text',
PRIMARY KEY(`id`),
KEY `ix_body` (`body`(20)));



ALTER TABLE `part` COMMENT = 'parts we stock';

ALTER TABLE `part` ROW_FORMAT=COMPACT;

ALTER TABLE `part` MODIFY COLUMN `id` INTEGER(11) NOT NULL COMMENT 'key';

ALTER TABLE `part` MODIFY COLUMN `code` VARCHAR(10) COMMENT 'internal code';

