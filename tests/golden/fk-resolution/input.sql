CREATE TABLE orders (
  user_id INT REFERENCES users (id),
  buyer INT REFERENCES users (uid),
  seller INT REFERENCES users (nosuch) REFERENCES accounts (id),
  payer INT,
  FOREIGN KEY (pay) REFERENCES accounts (id) ON DELETE CASCADE,
  FOREIGN KEY (user_id) REFERENCES accounts (id)
);
CREATE TABLE users (id INT);
CREATE TABLE accounts (id INT);
