// Inside the dialect grammar: the parser's state and the helpers that its
// statements share (reader/dialect_parse.cc, dialect_create.cc,
// dialect_alter.cc, dialect_query.cc, dialect_expr_names.cc, dialect_keys.cc,
// dialect_blocks.cc, dialect_statements.cc). Not for use outside them.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "reader/dialect_catalog.h"
#include "reader/dialect_lex.h"
#include "reader/input.h"

/// A column that a query makes: its name, and the catalog comment of the
/// column it takes, where it takes one.
struct query_col {
  std::string name;
  text note;
};

/// A table's name as a statement gives it, resolved as the database
/// resolves it.
struct table_ref {
  std::string_view space, name;  // views of the name's parts, the parser's or the catalog's texts
  bool temp = false;             // in SQLite's temp schema: gone with the session
};

/// A column's documentation as its definition is read: the comments in
/// front of it (of which those that touch its name count), and those inside
/// it, outside parentheses, and after it on its last line (all of them).
struct column_doc {
  std::vector<dcomment> lead, after;
  size_t name_line = 0;
};

struct dparser {
  dparser(const diagnostics& d, input_pages& in, schema& s, const dialect_rules& r)
      : dl(in.bytes, d, r), rules(r), cat(r, s), s(s), in(in) {}

  dlexer dl;
  const dialect_rules& rules;
  catalog cat;
  schema& s;
  input_pages& in;
  dtoken t;  // the current token
  // Words that end a statement as its delimiter does, without being passed:
  // the next element of CREATE SCHEMA.
  std::span<const kw> element_stops;
  // MySQL: the database that unqualified names are in; the first one chosen
  // is the file's own and is left off names.
  std::string home_db, current_db;
  bool db_chosen = false;
  bool default_engine_keeps_keys = true;  // SET default_storage_engine
  // PostgreSQL: the columns of each prepared query (PREPARE) and of each
  // composite type (CREATE TYPE ... AS, and a view's row type), by name.
  std::unordered_map<std::string, std::vector<query_col>> prepared, types;
  std::vector<std::string> attached;  // SQLite: the databases attached, in order
  // Where keys may be made of indexes: the columns of each index made, by
  // its table's number and its name ("" for a column of an expression's).
  std::unordered_map<std::string, std::vector<std::string>> indexes;
  std::vector<uint32_t> inherited_from;  // INHERITS of the CREATE TABLE being read
  std::string word, doc, key;  // scratch
  // Scratch of CREATE TABLE's list, kept so that its storage serves every table.
  column_doc item_doc, prev_item_doc;
  std::vector<dcomment> carried;
  std::vector<dcomment> lead;  // the comments in front of the statement being read
  // The column that the statement read last defined, while comments after
  // the statement's end, on the line where the column ends, may still
  // document it; `end_line`: the line of that end.
  struct {
    uint32_t tab = NO_ID, col = NO_ID;
    size_t line = 0;
    column_doc doc;
  } last_column;
  size_t end_line = SIZE_MAX;
  bool refused = false;  // the statement being read fails in the database: it makes nothing
  // SQLite's PRAGMA legacy_alter_table and foreign_keys: with the first on
  // and the second off, a table's rename leaves the keys to it as written.
  bool legacy_alter_table = false, foreign_keys = false;
};

// ---- tokens

/// Reads the next token; false when the reading has failed.
bool next(dparser& p);

/// Whether the current token is keyword `k`.
inline bool at(const dparser& p, kw k) { return dlex_kw(p.t) == k; }

/// Whether the current token is the punctuation byte `c`.
inline bool at(const dparser& p, char c) { return dlex_punct(p.t, c); }

/// Whether the current token is the word `w`, in any case, or one of
/// `words`: the words of a construct that are no keywords of the grammar.
bool at_word(const dparser& p, std::string_view w);
bool at_word(const dparser& p, std::span<const std::string_view> words);

/// Whether the token after the current one is keyword `k`, or byte `c`.
bool next_is(dparser& p, kw k);
bool next_is(dparser& p, char c);

/// Whether the current token may be a name.
bool is_name(const dparser& p);

/// The name that the current token is, into p.word.
void name_of(dparser& p);

/// Reports the current token as unexpected ("wanted" says what would do);
/// false. A token that the end of the input cut short was reported already.
bool unexpected(dparser& p, std::string_view wanted = {});

/// Passes `c`, or reports the token in its place.
bool expect(dparser& p, char c);

/// Whether the statement ends at the current token: its delimiter, which is
/// then passed, the end of the input, or a word of p.element_stops.
bool at_end(dparser& p);

/// What skip passes over, and where it stops.
struct skip_stops {
  std::string_view punct = {};     // bytes at depth 0 that stop it (")" stops it too where listed)
  std::span<const kw> words = {};  // words at depth 0 that stop it
  bool blocks = false;        // BEGIN/CASE ... END nest as parentheses do
  bool lenient = false;       // a ")" too many is passed over, not reported
  size_t* last_line = nullptr;  // gets the line of the last token passed
  std::vector<std::string>* names = nullptr;  // gets the name of each word and quoted name passed
  // Gets the comments in front of each token passed outside parentheses, and
  // in front of a word that stops it (not of the other stops).
  std::vector<dcomment>* comments = nullptr;
};

/// The one walk over tokens: passes over them, minding the depth of
/// parentheses (and of blocks), up to one of the stops at depth 0 or the
/// statement's end. false after a reported error.
bool skip(dparser& p, const skip_stops& stops);

/// At "(": passes over it, what it holds, and its ")".
bool skip_group(dparser& p);

/// Passes over the rest of the statement, and its delimiter.
bool rest_of_statement(dparser& p);

/// IF EXISTS, or IF NOT EXISTS where `negated`, when the current word is IF
/// and the words after it are those: passed, and true. Otherwise nothing is
/// passed (IF is then a name).
bool if_exists(dparser& p, bool negated);

// ---- names

/// A name of one or more parts joined by ".", into `parts`.
bool qualified_name(dparser& p, std::vector<std::string>& parts);

/// Where a table called by `parts` is made.
table_ref resolve_new(dparser& p, const std::vector<std::string>& parts);

/// The space where the temporary tables made in `space` are kept: for
/// PostgreSQL pg_temp, for SQLite temp, for MySQL one beside each database.
void temp_space(const dparser& p, std::string_view space, std::string& out);

/// The table that `parts` name, as the database looks it up: its index, or
/// NO_ID with `key` and `shown` telling what it was called.
uint32_t resolve_table(dparser& p, const std::vector<std::string>& parts, std::string* key = nullptr,
                       std::string* shown = nullptr);

/// A parenthesised list of column names, as keys and indexes give them
/// (with lengths, orders and collations after each name).
bool column_list(dparser& p, std::vector<std::string>& cols);

// ---- documentation

/// The docstring of `lead` in front of a token on `next_line`, and of
/// `trailing` after it on its line, kept.
text keep_doc(dparser& p, std::span<const dcomment> lead, size_t next_line, std::span<const dcomment> trailing = {});

/// A catalog comment from the string token `str`, kept: '' removes it.
text keep_note(dparser& p, const dtoken& str);

// ---- keys

/// A key being read, with the names of its columns until they are found.
struct key_draft {
  dkey key;
  std::vector<std::string> cols;         // the columns it is on, by name
  std::vector<std::string> target;       // a foreign key's target, as named
  std::vector<std::string> target_cols;  // and its columns (none: the primary key)
  std::vector<std::string> mentions;     // a check: the names its expression holds
  std::string index;                     // USING INDEX i: the index whose columns it is on
  uint32_t own = NO_ID;                  // a column's own constraint: that column's id
};

/// REFERENCES t [(columns)] [actions], at REFERENCES, into `k`.
bool references(dparser& p, key_draft& k);

/// A table constraint at its first word, into `drafts` where it is a key
/// the catalog keeps. Ends at one of `stops` or the end of the statement.
bool table_constraint(dparser& p, std::vector<key_draft>& drafts, std::string_view stops);

/// Whether the current token begins a table constraint rather than a
/// column: one of the dialect's words, and for a word that may also name a
/// column (EXCLUDE, PERIOD), what follows it.
bool at_constraint(dparser& p);

/// Makes the keys of `drafts` keys of table `ti`: their columns found by
/// name, unnamed ones named as the database names them (checks, then
/// primary and unique keys, then foreign keys), foreign keys bound to their
/// targets. A key on a column that is not there is dropped.
void add_keys(dparser& p, uint32_t ti, std::vector<key_draft>& drafts);

/// Removes the key of table `ti` called `name` (an empty name: its primary
/// key); with `cascade`, the foreign keys of other tables that lean on it
/// where it is a primary or unique key go too.
void drop_keys(dparser& p, uint32_t ti, std::string_view name, bool cascade);

/// The foreign keys of the tables that refer to table `ti`, bound to it
/// now, bound to its name instead: they lead to whatever table has that
/// name at the end.
void keys_by_name(dparser& p, uint32_t ti);

// ---- columns

/// Where ALTER TABLE puts a column: FIRST, AFTER c, or at the end.
struct column_place {
  bool first = false;
  std::string after;
};

/// A column definition at the column's name, into `tab` (a column of that
/// name takes the definition) and `drafts`; ends at one of `stops`. `doc`,
/// where given, holds the comments in front of it and gets those inside it;
/// `last_line` gets the line of its last token; `place`, where given, gets
/// FIRST or AFTER. Returns the column's position, or NO_ID after a failure.
uint32_t column_definition(dparser& p, dtab& tab, std::vector<key_draft>& drafts, column_doc* doc,
                           std::string_view stops, size_t& last_line, column_place* place = nullptr);

/// Documents `col` with `doc`, once comments have come after its name.
void column_document(dparser& p, dcol& col, const column_doc& doc);

/// A query at its first word (SELECT, WITH, TABLE t, VALUES, EXECUTE, or a
/// parenthesised query): the columns it makes into `cols`, and where it
/// holds SELECT ... INTO t, that table's name into `into`. Ends where the
/// query ends: at the statement's end or a ")" it did not open.
bool query_output(dparser& p, std::vector<query_col>& cols, std::vector<std::string>* into = nullptr);

/// How PostgreSQL names the column of the expression at the current token:
/// into `name` ("?column?" where nothing names it); `star` where it is "*"
/// or "t.*" (`name` then t, or ""); `source` the column's name where it is
/// a column's reference alone. Ends at the expression's end: at an alias,
/// AS, or what ends the item.
bool expression_name(dparser& p, std::string& name, bool& star, std::string& source);

/// CREATE TABLE ... [AS] query, at the query (or MySQL's IGNORE, REPLACE):
/// the query's columns into `tab`. After a list of names (PostgreSQL's
/// CREATE TABLE t (a, b) AS ...), they name the query's first columns;
/// after column definitions (MySQL), a definition of a column the query
/// makes goes to the query's place. Two of the query's columns of one
/// name: numbered, or (where the database refuses them) p.refused set.
bool query_columns(dparser& p, dtab& tab);

/// The tables that inherit from table `ti` or are its partitions, and
/// theirs, each once.
std::vector<uint32_t> descendants(const dparser& p, uint32_t ti);

/// The value of a table option at the current token: a string's text, a
/// quoted name's, or a word as written.
std::string option_text(dparser& p);

/// Whether a MySQL storage engine keeps foreign keys (InnoDB and NDB do).
bool engine_keeps_keys(std::string_view engine);

/// Puts the column at `pos` of `tab` where `place` says.
void place_column(dparser& p, dtab& tab, uint32_t pos, const column_place& place);

/// Copies the columns of table `from` into `tab` (those it has not already),
/// with their catalog comments where `notes`, and its primary key where `keys`.
void copy_columns(dparser& p, dtab& tab, uint32_t from, bool notes, bool keys, std::vector<key_draft>& drafts);

// ---- statements

bool create_statement(dparser& p, std::span<const dcomment> lead);

/// The key that index `name` of table `ti` is kept under in p.indexes, into p.key.
void index_key(dparser& p, uint32_t ti, std::string_view name);
bool attach_statement(dparser& p);
bool do_statement(dparser& p);

/// One statement at its first word, as the dialect runs it, up to its end
/// (passed: the token there is the delimiter).
bool dialect_statement(dparser& p);
bool pragma_statement(dparser& p);
bool detach_statement(dparser& p);
bool create_table(dparser& p, std::span<const dcomment> lead, size_t lead_line, bool replace, bool temp,
                  bool is_virtual);
bool create_schema(dparser& p);
bool create_type(dparser& p);
bool alter_statement(dparser& p, std::span<const dcomment> lead);
bool drop_statement(dparser& p);
bool comment_statement(dparser& p);
bool set_statement(dparser& p);
bool reset_statement(dparser& p);
bool select_statement(dparser& p);
bool rename_statement(dparser& p);
bool use_statement(dparser& p);
bool delimiter_statement(dparser& p);
bool transaction_statement(dparser& p, kw first);
bool copy_statement(dparser& p);
bool prepare_statement(dparser& p);

/// Any statement passed over, at its first token: to its end, minding
/// blocks where `blocks` (the bodies of triggers and functions).
bool skip_statement(dparser& p, bool blocks);

/// The schemas that a search_path setting names, from its text ("a, b").
std::vector<std::string> path_from_text(dparser& p, std::string_view value);
