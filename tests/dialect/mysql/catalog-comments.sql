CREATE TABLE paths (
  backslash int COMMENT 'back\\slash',
  windows int COMMENT 'C:\temp\new',
  unknown int COMMENT 'percent \% underscore \_ and \q',
  wrapped int COMMENT 'A comment wrapped
over two lines.',
  paragraphs int COMMENT 'First paragraph,\nwrapped.\n\nSecond paragraph.',
  markup int COMMENT '``quoted'''' -- dash --- em @paths.html [a](https://example.org/) \\@',
  html int COMMENT '<b>bold</b> & "quotes" &amp;',
  doubled int COMMENT "it's ""double"" \"too\""
) ENGINE=InnoDB COMMENT='Table
comment -- with markup @paths and a path C:\\temp';
ALTER TABLE paths MODIFY backslash int COMMENT 'back\\slash, again';
ALTER TABLE paths ADD added int COMMENT 'Added:\ttab';
