CREATE TABLE Node (
    id INTEGER PRIMARY KEY,
    parent_id INTEGER REFERENCES node (id),
    label TEXT
);
CREATE TABLE edge (
    a INTEGER REFERENCES NODE,
    b INTEGER REFERENCES "node" (ID)
);

-- Renamed in another letter case: the keys, its own too, follow.
ALTER TABLE node RENAME TO Vertex;
ALTER TABLE VERTEX RENAME COLUMN ID TO vertex_id;
ALTER TABLE edge RENAME COLUMN A TO source;
ALTER TABLE [edge] RENAME TO "Link";
CREATE TABLE weight (link_source INTEGER, link_b INTEGER, FOREIGN KEY (link_source) REFERENCES link (source));
