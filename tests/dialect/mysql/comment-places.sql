#
# Members of the club.
#
CREATE TABLE member (
  id int NOT NULL AUTO_INCREMENT,  # the member number
  -- The name on the card.
  name varchar(100) NOT NULL COMMENT 'As printed',
  /* When they joined. */ joined date,
  fee int DEFAULT (10--1)
  ,
  PRIMARY KEY (id)
) ENGINE=InnoDB; # one row per member

CREATE TABLE card (
  member_id int NOT NULL, -- whose card
  number char(16) /* printed on it */ NOT NULL,
  FOREIGN KEY (member_id) REFERENCES member (id)) ENGINE=InnoDB; -- cards of members
