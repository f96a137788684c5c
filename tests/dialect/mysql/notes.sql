-- MariaDB dump 10.19  Distrib 10.11.6-MariaDB, for debian-linux-gnu (x86_64)
--
-- Host: localhost    Database: app
-- ------------------------------------------------------
-- Server version	10.11.6-MariaDB-0+deb12u1
CREATE TABLE plain (id int PRIMARY KEY) ENGINE=InnoDB;

-- Users.
--
-- Table structure for table `users`
--

CREATE TABLE users (
  id int PRIMARY KEY,
  # Shown on the cover.
  # ----------
  name varchar(64) COMMENT 'From the catalog.'
) ENGINE=InnoDB;

#
# Table structure for table `account`
#

CREATE TABLE account (
  id int PRIMARY KEY,
  -- ======
  owner int,
  FOREIGN KEY (owner) REFERENCES users (id)
) ENGINE=InnoDB COMMENT='Accounts of the users.';

# =====================================================================
# Orders
# =====================================================================

CREATE TABLE orders (id int PRIMARY KEY) ENGINE=InnoDB;

--
-- Dumping data for table `orders`
--

-- ---------------------------------------------------------------
-- Baskets: one per order.
-- ---------------------------------------------------------------
CREATE TABLE basket (
  id int PRIMARY KEY,
  order_id int REFERENCES orders (id)
) ENGINE=InnoDB;
