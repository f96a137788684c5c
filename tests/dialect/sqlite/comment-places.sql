CREATE TABLE /* the table of */ person ( -- people we know
    id INTEGER PRIMARY KEY,
    name -- as they like to be called
        TEXT NOT NULL,
    nick /* short */ TEXT,
    born TEXT /* ISO 8601 */, -- a date
    email TEXT) -- where to write
;

-- Places.
CREATE TABLE place (
    id INTEGER PRIMARY KEY, /* the row id */
    person_id INTEGER REFERENCES person -- who lives there
    , label TEXT
) /* after the parenthesis */ ;

CREATE INDEX place_person ON place (person_id); -- finds a person's places
CREATE TABLE visit (place_id INTEGER REFERENCES place);
