CREATE TABLE item (id INTEGER PRIMARY KEY, qty INTEGER, state TEXT);
CREATE TABLE item_log (item_id INTEGER REFERENCES item, note TEXT);

CREATE TRIGGER item_state AFTER UPDATE OF qty ON item
FOR EACH ROW WHEN new.qty <> old.qty
BEGIN
    UPDATE item SET state = CASE WHEN new.qty = 0 THEN 'empty' ELSE 'stocked' END
        WHERE id = new.id;
    INSERT INTO item_log VALUES (new.id, 'qty; changed');
END;

CREATE TABLE after_case (item_id INTEGER REFERENCES item);

CREATE VIEW IF NOT EXISTS item_view AS
    SELECT id, CASE state WHEN 'empty' THEN 0 ELSE 1 END AS has_stock FROM item;

CREATE TRIGGER IF NOT EXISTS item_view_insert INSTEAD OF INSERT ON item_view
BEGIN
    INSERT INTO item (id, qty) VALUES (new.id, CASE new.has_stock WHEN 1 THEN 1 ELSE 0 END);
    SELECT RAISE(ABORT, 'no; end here') WHERE new.id IS NULL;
END;

CREATE TEMP TRIGGER temp_trigger BEFORE DELETE ON item BEGIN SELECT 1; END;

CREATE TABLE last (
    item_id INTEGER REFERENCES item,
    begin TEXT,
    end TEXT
);
