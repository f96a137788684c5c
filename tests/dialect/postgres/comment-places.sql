/**
 * People who can sign in.
 */
CREATE TABLE login
( id       int PRIMARY KEY
, email    text NOT NULL   -- where the mails go
, password text            -- a hash, never the password
  /* Locked after five failures. */
, locked   boolean DEFAULT false
);

CREATE TABLE session (
    id uuid PRIMARY KEY,
    login_id int NOT NULL
        REFERENCES login (id)
        ON DELETE CASCADE, -- ends with its login
    -- When it stops working,
    -- at the latest.
    expires
        timestamptz,
    state text CHECK (state IN ('new', -- not yet used
                                'used')),
    /* The address it came from. */ ip inet
);

CREATE TABLE token (
    id int PRIMARY KEY,
    session_id uuid REFERENCES session); -- the session it belongs to

--
-- Rows of an audit trail.
--
CREATE TABLE trail (
    at timestamptz
        DEFAULT now() -- when it happened
);

CREATE INDEX trail_at ON trail (at); -- the newest first, mostly
CREATE TABLE trail_archive (LIKE trail);
