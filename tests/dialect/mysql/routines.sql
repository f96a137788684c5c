CREATE TABLE account (id int PRIMARY KEY, balance decimal(10,2) NOT NULL DEFAULT 0) ENGINE=InnoDB;

DELIMITER $$
CREATE DEFINER=`root`@`localhost` PROCEDURE `close_account`(IN p_id int)
    MODIFIES SQL DATA
BEGIN
  DECLARE v_balance decimal(10,2);
  SELECT balance INTO v_balance FROM account WHERE id = p_id;
  IF v_balance <> 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'balance is not zero; cannot close';
  END IF;
  -- CREATE TABLE in a body is not run here.
  CREATE TABLE IF NOT EXISTS closed_log (id int);
  DELETE FROM account WHERE id = p_id;
END$$

CREATE TABLE ledger (
  account_id int NOT NULL,
  amount decimal(10,2) NOT NULL,
  FOREIGN KEY (account_id) REFERENCES account (id)
) ENGINE=InnoDB$$

CREATE TRIGGER ledger_apply AFTER INSERT ON ledger
FOR EACH ROW
BEGIN
  UPDATE account SET balance = balance + NEW.amount WHERE id = NEW.account_id;
END $$
DELIMITER ;

delimiter //
CREATE FUNCTION balance_of(p_id int) RETURNS decimal(10,2)
  READS SQL DATA
  DETERMINISTIC
RETURN (SELECT balance FROM account WHERE id = p_id)//
delimiter ;

DELIMITER ;;
/*!50003 CREATE*/ /*!50017 DEFINER=`root`@`localhost`*/ /*!50003 TRIGGER ledger_check BEFORE INSERT ON ledger FOR EACH ROW BEGIN
  IF NEW.amount = 0 THEN SET NEW.amount = 0.01; END IF;
END */;;
DELIMITER ;

CREATE EVENT IF NOT EXISTS nightly ON SCHEDULE EVERY 1 DAY DO DELETE FROM ledger WHERE amount = 0;
CREATE TABLE statement (account_id int, FOREIGN KEY (account_id) REFERENCES account (id)) ENGINE=InnoDB;
