CREATE TABLE users (id INTEGER, name TEXT);
CREATE TABLE posts (id INTEGER, author INTEGER REFERENCES users (id), body TEXT);
