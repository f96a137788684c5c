-- Line ends written by Windows.
CREATE TABLE crlf_parent (
    id int PRIMARY KEY, -- the key
    -- The name.
    name varchar(20)
);
.headers on

/* Children.
 */
CREATE TABLE crlf_child (
    parent_id int REFERENCES crlf_parent (id),
    note varchar(20) -- a note
);
