-- Nothing but a comment
DROP TABLE old;
