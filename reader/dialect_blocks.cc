// PostgreSQL's DO blocks: the statements of an anonymous PL/pgSQL block
// that change tables, read where the block stands as the server runs them.
// A block's SQL statements run in order; of an IF, the first branch (the
// one a migration takes on a database that lacks what it makes); EXECUTE
// of a string alone runs the string. What a block computes (loops,
// EXECUTE of an expression, handlers of errors) is passed over.
#include <optional>

#include "reader/chars.h"
#include "reader/dialect_grammar.h"

namespace {

// The words that open a construct that END closes: BEGIN, IF, LOOP, CASE
// (not as END IF, END LOOP, END CASE).
bool opens(const dparser& p, bool after_end) {
  return !after_end && (at(p, KW_BEGIN) || at(p, KW_CASE) || at_word(p, "if") || at_word(p, "loop"));
}

// Passes over one statement of the block, the constructs in it whole, and
// its ";"; where `closes`, the statement is the rest of a construct, whose
// END (and what follows it, up to the ";") ends it too. Stops, without
// passing it, at the END of the block around it.
bool pass_statement(dparser& p, bool closes = false) {
  int depth = 0;
  bool after_end = false;
  for (;;) {
    if (p.dl.failed)
      return false;
    if (p.t.kind == DTOKEN_END)
      return true;
    if (depth == 0 && at(p, ';'))
      return next(p);
    bool was_end = at(p, KW_END);
    if (opens(p, after_end)) {
      depth++;
    } else if (was_end) {
      if (depth == 0 && !closes)
        return true;
      if (depth == 0)
        closes = false;  // this END is the construct's: on to its ";"
      else
        depth--;
    }
    after_end = was_end;
    if (!next(p))
      return false;
  }
}

bool block(dparser& p);

// Reads SQL from `text` (at `line` of the input) as it stands there, the
// statements of a PL/pgSQL block when `plpgsql`, and goes back to where
// the reading was.
bool run_text(dparser& p, std::string_view text, size_t line, bool plpgsql) {
  dlexer& dl = p.dl;
  dlex_unpeek(dl);
  lexer saved = dl.lx;
  dtoken token = p.t;
  bool open = dl.statement_open;
  dl.lx.buf = text.data();
  dl.lx.len = text.size();
  dl.lx.pos = 0;
  if (text.data() < saved.buf || text.data() > saved.buf + saved.len) {
    dl.lx.line = line;  // a copy: its lines are counted from the string's
    dl.lx.line_start = 0;
  } else {
    // In the input: its own lines and columns.
    size_t at = size_t(text.data() - saved.buf);
    dl.lx.buf = saved.buf;
    dl.lx.len = at + text.size();
    dl.lx.pos = at;
    dl.lx.line = line;
    size_t start = at;
    while (start > 0 && saved.buf[start - 1] != '\n')
      start--;
    dl.lx.line_start = start == 0 ? 0 : start - 1;
  }
  bool ok = next(p);
  if (ok && plpgsql) {
    // [<<label>>] [DECLARE ...] BEGIN ... END [label] [;]
    ok = block(p);
  } else {
    while (ok && p.t.kind != DTOKEN_END) {
      if (at_end(p))
        ok = next(p);
      else
        ok = dialect_statement(p) && next(p);
    }
  }
  // Back where the reading was, failed or not: no token may stay a view
  // of a copy that is about to go.
  dl.lx.buf = saved.buf;
  dl.lx.len = saved.len;
  dl.lx.pos = saved.pos;
  dl.lx.line = saved.line;
  dl.lx.line_start = saved.line_start;
  dl.statement_open = open;
  p.t = token;
  return ok && !p.dl.failed;
}

// The statements up to END, EXCEPTION (whose handlers are passed over up to
// the END) or a word of `stops`, which is not passed.
bool statements(dparser& p, std::span<const std::string_view> stops) {
  static constexpr std::string_view if_words[] = {"elsif", "elseif", "else"};
  while (!p.dl.failed && p.t.kind != DTOKEN_END && !at(p, KW_END)) {
    for (std::string_view w : stops)
      if (at_word(p, w))
        return true;
    if (at_word(p, "exception")) {
      // The handlers: they run only where a statement failed.
      while (!p.dl.failed && p.t.kind != DTOKEN_END && !at(p, KW_END))
        if (!pass_statement(p))
          return false;
      return !p.dl.failed;
    }
    if (at(p, KW_BEGIN) || at_word(p, "declare") || (at(p, '<') && next_is(p, '<'))) {
      if (!block(p))
        return false;
    } else if (at_word(p, "if")) {
      // IF cond THEN statements [ELSIF ... | ELSE ...] END IF: the first branch.
      while (!p.dl.failed && p.t.kind != DTOKEN_END && !at_word(p, "then"))
        if (at(p, '(') ? !skip_group(p) : !next(p))
          return false;
      if (!next(p) || !statements(p, if_words))
        return false;
      if (!pass_statement(p, true))  // the other branches, END IF and its ";"
        return false;
    } else if (at(p, KW_EXECUTE) && dlex_peek(p.dl).kind == DTOKEN_STRING) {
      if (!next(p))
        return false;
      dtoken str = p.t;
      if (!next(p))
        return false;
      if (at(p, ';')) {
        // The text, after as many spaces as there are columns in front of
        // it on its line: messages about it give the file's columns.
        size_t quote = str.raw.find_first_of("'$");
        std::string sql(str.line == str.end_line ? str.end_column - str.raw.size() + quote + 1 : 0, ' ');
        std::string text;
        dlex_string(str, text);
        sql += text;
        if (!run_text(p, sql, str.line, false))
          return false;
      }
      if (!pass_statement(p))
        return false;
    } else if (rules_have(p.rules.statements, dlex_kw(p.t)) && !at(p, KW_BEGIN) && !at(p, KW_END) &&
               !at(p, KW_SELECT)) {
      if (!dialect_statement(p) || !next(p))
        return false;
    } else if (!pass_statement(p)) {
      return false;
    }
  }
  return !p.dl.failed;
}

// [<<label>>] [DECLARE declarations] BEGIN statements END [label] [;]
bool block(dparser& p) {
  if (at(p, '<')) {
    while (!p.dl.failed && p.t.kind != DTOKEN_END && !at(p, '>'))
      if (!next(p))
        return false;
    while (at(p, '>'))
      if (!next(p))
        return false;
  }
  if (at_word(p, "declare")) {
    if (!next(p))
      return false;
    while (!p.dl.failed && p.t.kind != DTOKEN_END && !at(p, KW_BEGIN) && !at(p, KW_END))
      if (!pass_statement(p))
        return false;
  }
  if (!at(p, KW_BEGIN))
    return pass_statement(p);
  // BEGIN statements END [label] [;]
  return next(p) && statements(p, {}) && pass_statement(p, true);
}

}  // namespace

bool do_statement(dparser& p) {
  // DO [LANGUAGE name] code [LANGUAGE name]
  if (!next(p))
    return false;
  bool plpgsql = true;
  std::optional<dtoken> code;
  while (p.t.kind != DTOKEN_END && !at(p, ';') && !p.t.sends) {
    if (at_word(p, "language")) {
      if (!next(p))
        return false;
      std::string lang;
      if (is_name(p)) {
        name_of(p);
        lang = p.word;
      }
      plpgsql = ascii_iequal(lang, "plpgsql");
    } else if (p.t.kind == DTOKEN_STRING && !code) {
      code = p.t;
    }
    if (!next(p))
      return false;
  }
  if (code && plpgsql) {
    std::string_view raw = code->raw;
    std::string copy;
    std::string_view text;
    if (raw.starts_with('$')) {
      size_t tag = raw.find('$', 1) + 1;
      text = raw.substr(tag, raw.size() - 2 * tag);
    } else {
      dlex_string(*code, copy);
      text = copy;
    }
    if (!run_text(p, text, code->line, true))
      return false;
  }
  return skip_statement(p, false);
}
