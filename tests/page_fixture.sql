-- Put at the end of a generated schema for the browser test of a large page.
-- A table whose name is markup, found by the search box; and a link in a
-- comment that a page must not run: see [the runbook](javascript:document.title='run') and
-- [the guide](https://example.org/guide).
CREATE TABLE "zz <b>bold</b> & co" (
  id INTEGER PRIMARY KEY,
  -- The row it was copied from: @"zz <b>bold</b> & co".id
  "from" INTEGER REFERENCES "zz <b>bold</b> & co" (id)
);
