CREATE TABLE orders (user_id INT REFERENCES Users (id));
CREATE TABLE users (id INT);
