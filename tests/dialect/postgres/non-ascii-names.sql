-- Names in other scripts: only A to Z are folded.
CREATE TABLE Café (
    ID int PRIMARY KEY,
    Ünit text,
    ÉTAT text,
    Größe int
);
CREATE TABLE Bestellung (
    café_id int REFERENCES café (id),
    Straße text
);
COMMENT ON COLUMN Café.Ünit IS 'Unit, as written.';
COMMENT ON COLUMN bestellung.STRAßE IS 'Street: ß folds to nothing else.';
ALTER TABLE Café RENAME COLUMN ÉTAT TO Zustand;
-- Another table: É is not folded to é.
CREATE TABLE CAFÉ (Ünit text);
