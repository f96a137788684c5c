CREATE TABLE doc (id INTEGER PRIMARY KEY, title TEXT, body TEXT);

-- An R*Tree index of boxes, and a full-text index with options.
CREATE VIRTUAL TABLE box USING rtree(id, min_x, max_x, min_y, max_y);
CREATE VIRTUAL TABLE IF NOT EXISTS doc_search USING fts5(
    title, body,
    content = 'doc', content_rowid = 'id',
    tokenize = "unicode61 remove_diacritics 2"
);
CREATE VIRTUAL TABLE doc_terms USING fts5vocab(doc_search, 'row');

-- Tables of the schema whose names only look like shadow tables.
CREATE TABLE page_content (doc_id INTEGER REFERENCES doc, text TEXT);
CREATE TABLE app_config (key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE search_data (id INTEGER PRIMARY KEY, box_id INTEGER REFERENCES box_node);
CREATE TABLE box_parent_of (doc_id INTEGER REFERENCES doc);
DROP TABLE IF EXISTS doc_terms;
