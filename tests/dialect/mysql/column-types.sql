-- Products of the shop.
CREATE TABLE IF NOT EXISTS `product` (
  `id` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `sku` varchar(32) CHARACTER SET ascii COLLATE ascii_bin NOT NULL,
  `name` varchar(255) COLLATE utf8mb4_unicode_ci NOT NULL DEFAULT '',
  `status` enum('draft','live','it''s gone','a,b','(x)') NOT NULL DEFAULT 'draft' COMMENT 'Where it stands',
  `flags` set('new','sale','hot') DEFAULT NULL,
  `price` decimal(10,2) unsigned zerofill NOT NULL DEFAULT 0.00,
  `weight` double(8,3) DEFAULT NULL,
  `stock` mediumint UNSIGNED DEFAULT 0,
  `active` tinyint(1) NOT NULL DEFAULT 1,
  `bits` bit(4) DEFAULT b'0101',
  `hex` binary(2) DEFAULT x'0A0B',
  `code` char(8) CHARSET latin1 DEFAULT NULL,
  `attrs` json DEFAULT NULL CHECK (json_valid(`attrs`)),
  `uuid` char(36) NOT NULL DEFAULT (uuid()),
  `label` varchar(300) GENERATED ALWAYS AS (concat(`sku`, ': ', `name`)) VIRTUAL,
  `price_cents` bigint AS (`price` * 100) STORED COMMENT 'Computed',
  `lower_name` varchar(255) AS (lower(`name`)) PERSISTENT,
  `secret` varchar(10) INVISIBLE DEFAULT 'x',
  `created_at` timestamp NOT NULL DEFAULT current_timestamp(),
  `updated_at` timestamp NULL DEFAULT NULL ON UPDATE CURRENT_TIMESTAMP, -- set by the server
  `touched` datetime(6) DEFAULT CURRENT_TIMESTAMP(6) ON UPDATE CURRENT_TIMESTAMP(6),
  `year` year(4),
  PRIMARY KEY (`id`) USING BTREE,
  UNIQUE KEY `product_sku` (`sku`),
  KEY `product_name` (`name`(20)),
  KEY `product_status_price` (`status`, `price` DESC)
) ENGINE=InnoDB AUTO_INCREMENT=1001 DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci ROW_FORMAT=DYNAMIC
  PACK_KEYS=0 STATS_PERSISTENT=1 COMMENT='The catalogue';

CREATE TABLE `price_history` (
  `id` bigint unsigned NOT NULL AUTO_INCREMENT PRIMARY KEY,
  `product_id` int unsigned NOT NULL,
  `price` decimal(10,2) NOT NULL,
  `valid` tinyint GENERATED ALWAYS AS (if(`price` > 0, 1, 0)) VIRTUAL,
  CONSTRAINT `fk_price_product` FOREIGN KEY (`product_id`) REFERENCES `product` (`id`)
    ON DELETE CASCADE ON UPDATE RESTRICT
) ENGINE = InnoDB DEFAULT CHARACTER SET = utf8mb4;
