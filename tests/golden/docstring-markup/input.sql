-- ``Posts'' -- written by @users.
--
-- See [the guide](guide.html?a=1&b=<2>) or [x"y].
CREATE TABLE posts (
  /* Body text --- see
   * @"order items" and \@none.
   *
   * [x](a"b) */
  body TEXT
);
