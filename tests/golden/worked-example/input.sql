/*Blog posts.*/
CREATE TABLE posts (
  /*Who wrote it.*/
  author INTEGER REFERENCES users(id),
  id INTEGER
);
CREATE TABLE users (
  id INTEGER,
  /*Shown as <b>.*/
  name TEXT
);
