// How PostgreSQL names the column of a query's expression that has no
// alias: a column's reference or a function's call by its last name, a cast
// of a thing without a name by its type (as the server calls the type),
// CASE, EXISTS, ARRAY and ROW by their words, a parenthesised query by its
// first column, and anything an operator makes "?column?".
#include "reader/chars.h"
#include "reader/dialect_grammar.h"

namespace {

// What a name is worth: a cast's type does not replace a name of worth 2.
struct figured {
  std::string name;
  int strength = 0;  // 0: none; 1: a type's or a word's (CASE); 2: a column's or a function's
};

// The words that join a left operand to what follows: an expression's
// operators, where a bare alias cannot stand.
bool operator_word(const dparser& p) {
  static constexpr std::string_view words[] = {"and",     "or",       "is",      "isnull", "notnull", "in",
                                               "like",    "ilike",    "similar", "between", "not",    "at",
                                               "overlaps", "operator", "escape"};
  return at_word(p, words);
}

// Whether the expression ends at the current token: at an alias's AS (or
// CAST's), at what ends a query's item, or at the statement's end.
bool ends(dparser& p) {
  static constexpr kw clauses[] = {KW_FROM, KW_WHERE, KW_GROUP,  KW_ORDER,  KW_LIMIT,
                                   KW_UNION, KW_INTO, KW_HAVING, KW_WINDOW, KW_AS};
  if (p.t.kind == DTOKEN_END || at(p, ',') || at(p, ')') || at(p, ']') || at(p, ';') || p.t.sends)
    return true;
  return rules_have(clauses, dlex_kw(p.t));
}

// At "[": passes over the brackets and what they hold.
bool skip_brackets(dparser& p) {
  int depth = 0;
  do {
    if (at(p, '['))
      depth++;
    else if (at(p, ']'))
      depth--;
    else if (p.t.kind == DTOKEN_END)
      return unexpected(p, "]");
    if (!next(p))
      return false;
  } while (depth > 0);
  return true;
}

// At CASE: passes over it up to its END, the CASEs in it nested.
bool skip_case(dparser& p) {
  int depth = 0;
  do {
    if (at(p, KW_CASE))
      depth++;
    else if (at(p, KW_END))
      depth--;
    else if (p.t.kind == DTOKEN_END)
      return unexpected(p, "END");
    if (at(p, '(')) {
      if (!skip_group(p))
        return false;
      continue;
    }
    if (!next(p))
      return false;
  } while (depth > 0);
  return true;
}

// A type's name as the server calls it: the SQL words for the built-in
// types are its own names (integer is int4, character varying varchar).
std::string server_type(const std::vector<std::string>& words, bool quoted) {
  if (words.empty())
    return {};
  if (quoted)
    return words.back();
  std::string all;
  for (const std::string& w : words) {
    if (!all.empty())
      all += ' ';
    all += w;
  }
  static constexpr std::pair<std::string_view, std::string_view> builtin[] = {
      {"int", "int4"},
      {"integer", "int4"},
      {"smallint", "int2"},
      {"bigint", "int8"},
      {"real", "float4"},
      {"float", "float8"},
      {"double precision", "float8"},
      {"boolean", "bool"},
      {"decimal", "numeric"},
      {"dec", "numeric"},
      {"char", "bpchar"},
      {"character", "bpchar"},
      {"national character", "bpchar"},
      {"nchar", "bpchar"},
      {"char varying", "varchar"},
      {"character varying", "varchar"},
      {"national character varying", "varchar"},
      {"timestamp without time zone", "timestamp"},
      {"timestamp with time zone", "timestamptz"},
      {"time without time zone", "time"},
      {"time with time zone", "timetz"},
      {"bit varying", "varbit"},
  };
  for (const auto& [sql, server] : builtin)
    if (all == sql)
      return std::string(server);
  return words.back();
}

// A type's name after "::" or CAST's AS, with its modifiers and array
// bounds, into `type`.
bool type_name(dparser& p, std::string& type) {
  std::vector<std::string> words;
  bool quoted = false;
  static constexpr std::string_view joined[] = {"precision", "varying", "character", "with", "without",
                                                "time", "zone"};
  while (is_name(p)) {
    if (!words.empty() && !at_word(p, joined) && !at(p, '.'))
      break;
    quoted = p.t.kind == DTOKEN_NAME;
    name_of(p);
    words.push_back(p.word);
    if (!next(p))
      return false;
    if (at(p, '.')) {
      words.clear();  // a schema's name: the type's is the last
      if (!next(p))
        return false;
      continue;
    }
    if (at(p, '(') && !skip_group(p))  // varchar(10), timestamp(3) with time zone
      return false;
  }
  while (at(p, '['))
    if (!skip_brackets(p))
      return false;
  type = server_type(words, quoted);
  return true;
}

void cast_to(figured& f, const std::string& type) {
  if (f.strength <= 1 && !type.empty())
    f = {type, 1};
}

bool expression(dparser& p, figured& f, bool& star, std::string* source);

// A primary expression and what follows it that keeps it one: casts,
// subscripts, a field's selection, COLLATE. `plain` says whether it was a
// column's reference alone.
bool primary(dparser& p, figured& f, bool& star, bool& plain) {
  plain = false;
  kw k = dlex_kw(p.t);
  if (at(p, '*')) {
    star = true;
    return next(p);
  }
  if (k == KW_CASE) {
    f = {"case", 1};
    if (!skip_case(p))
      return false;
  } else if ((k == KW_EXISTS || at_word(p, "array") || at_word(p, "row")) &&
             (next_is(p, '(') || (!next_is(p, '.') && at_word(p, "array") && next_is(p, '[')))) {
    name_of(p);
    f = {p.word, 2};
    if (!next(p) || (at(p, '[') ? !skip_brackets(p) : !skip_group(p)))
      return false;
  } else if (at_word(p, "cast") && next_is(p, '(')) {
    if (!next(p) || !next(p))
      return false;
    bool inner_star = false;
    if (!expression(p, f, inner_star, nullptr))
      return false;
    std::string type;
    if (at(p, KW_AS) && (!next(p) || !type_name(p, type)))
      return false;
    cast_to(f, type);
    if (!skip(p, {.punct = ")"}) || !expect(p, ')'))
      return false;
  } else if (at(p, '(')) {
    if (!next(p))
      return false;
    if (at(p, KW_SELECT) || at(p, KW_WITH) || at(p, KW_VALUES)) {
      // A query's value: its column's name.
      std::vector<query_col> cols;
      if (!query_output(p, cols))
        return false;
      if (!cols.empty() && cols[0].name != "?column?")
        f = {cols[0].name, 2};
    } else {
      bool inner_star = false;
      if (!expression(p, f, inner_star, nullptr))
        return false;
      if (at(p, ','))
        f = {"row", 2};  // (a, b): a row
    }
    if (!skip(p, {.punct = ")"}) || !expect(p, ')'))
      return false;
  } else if (p.t.kind == DTOKEN_STRING || (p.t.kind == DTOKEN_WORD && is_digit(p.t.raw[0])) || at(p, '.')) {
    // A constant: no name. A number's parts (1.5, .5) are passed together.
    bool number = p.t.kind != DTOKEN_STRING;
    if (!next(p))
      return false;
    while (number && (at(p, '.') || (p.t.kind == DTOKEN_WORD && is_digit(p.t.raw[0]))))
      if (!next(p))
        return false;
  } else if (at_word(p, "true") || at_word(p, "false")) {
    f = {"bool", 1};
    if (!next(p))
      return false;
  } else if (is_name(p) && !operator_word(p)) {
    // name(.name)*: a column's reference, or a function's name before "(",
    // or a type's before a string (date '2024-01-01').
    bool quoted = p.t.kind == DTOKEN_NAME;
    std::vector<std::string> words;
    name_of(p);
    words.push_back(p.word);
    if (!next(p))
      return false;
    while (at(p, '.')) {
      if (!next(p))
        return false;
      if (at(p, '*')) {
        star = true;
        f = {words.back(), 2};
        return next(p);
      }
      if (!is_name(p))
        break;
      quoted = p.t.kind == DTOKEN_NAME;
      name_of(p);
      words.push_back(p.word);
      if (!next(p))
        return false;
    }
    if (p.t.kind == DTOKEN_STRING) {
      cast_to(f, server_type(words, quoted));
      if (!next(p))
        return false;
    } else if (at(p, '(')) {
      f = {words.back(), 2};
      if (!skip_group(p))
        return false;
      // WITHIN GROUP (...), FILTER (...), OVER w | (...): still the call.
      for (;;) {
        if (at_word(p, "within") && next_is(p, KW_GROUP)) {
          if (!next(p) || !next(p) || !skip_group(p))
            return false;
        } else if (at_word(p, "filter") && next_is(p, '(')) {
          if (!next(p) || !skip_group(p))
            return false;
        } else if (at_word(p, "over")) {
          if (!next(p) || (at(p, '(') ? !skip_group(p) : !next(p)))
            return false;
        } else {
          break;
        }
      }
    } else {
      f = {words.back(), 2};
      plain = true;
    }
  } else {
    // An operator in front (-x, NOT x) or a byte of its own: what it makes has no name.
    f = {};
    if (!next(p))
      return false;
    figured rest;
    bool inner_star = false;
    if (!ends(p) && !expression(p, rest, inner_star, nullptr))
      return false;
    f = {};
    return true;
  }
  // What follows and keeps it one expression.
  for (;;) {
    if (at(p, ':') && next_is(p, ':')) {
      std::string type;
      if (!next(p) || !next(p) || !type_name(p, type))
        return false;
      cast_to(f, type);
      plain = false;
    } else if (at(p, '[')) {
      if (!skip_brackets(p))
        return false;
      plain = false;
    } else if (at(p, '.')) {
      if (!next(p))
        return false;
      if (at(p, '*')) {
        star = true;
        return next(p);
      }
      if (is_name(p)) {
        name_of(p);
        f = {p.word, 2};
        if (!next(p))
          return false;
      }
      plain = false;
    } else if (at_word(p, "collate")) {
      if (!next(p))
        return false;
      std::vector<std::string> parts;
      if (is_name(p) && !qualified_name(p, parts))
        return false;
    } else {
      return true;
    }
  }
}

// An expression up to what ends the item (an alias, a "," or ")", a
// clause): its name into `f`. Where an operator joins operands, no name.
bool expression(dparser& p, figured& f, bool& star, std::string* source) {
  bool plain = false;
  if (!primary(p, f, star, plain))
    return false;
  if (star)
    return true;
  bool joined = false;
  while (!ends(p)) {
    // A bare alias: a name where an operator would stand.
    if (is_name(p) && !operator_word(p))
      break;
    joined = true;
    if (!next(p))
      return false;
    if (ends(p))
      break;
    figured rest;
    bool rest_plain, rest_star = false;
    if (!primary(p, rest, rest_star, rest_plain))
      return false;
  }
  if (joined)
    f = {};
  if (source && plain && !joined)
    *source = f.name;
  return true;
}

}  // namespace

bool expression_name(dparser& p, std::string& name, bool& star, std::string& source) {
  figured f;
  star = false;
  source.clear();
  if (!expression(p, f, star, &source))
    return false;
  name = f.strength > 0 ? f.name : star ? "" : "?column?";
  return true;
}
