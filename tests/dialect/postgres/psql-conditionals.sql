\set ON_ERROR_STOP on
-- psql runs only the branch that its \if chooses.
\if false
CREATE TABLE never_made (id int);
\elif true
CREATE TABLE made (id int PRIMARY KEY);
\else
CREATE TABLE not_this_either (id int);
\endif

\if :{?with_history}
CREATE TABLE history (made_id int REFERENCES made);
\endif

\set with_notes on
\if :with_notes
    \if off
ALTER TABLE made ADD COLUMN inner_off int;
    \endif
CREATE TABLE note (made_id int REFERENCES made, body text);
\endif
