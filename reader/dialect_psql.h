// What psql does to a file before the server sees it, where the dialect's
// client is psql: its variables (\set, and :name, :'name', :"name" in the
// SQL) and its conditionals (\if, \elif, \else, \endif), whose branches that
// do not run send nothing.
#pragma once

#include <cstddef>
#include <string_view>

struct dlexer;
struct dtoken;

/// Runs backslash command `name` with the rest of its line `args`, where it
/// is one of the variables or the branches: true then. In a branch that
/// does not run, only the branches' commands count, and every other is
/// passed over (true too).
bool psql_command(dlexer& dl, std::string_view name, std::string_view args);

/// At ":" at `i`: where a variable of that name is set, the reference is
/// passed and true; `t` then holds the first token of its value and `got`
/// is set, or (an empty value) `got` is false. false where it is no
/// reference to a variable that is set: ":" is then read as itself. false
/// with dl.failed set, and reported, where the value is not whole tokens.
bool psql_substitute(dlexer& dl, size_t i, dtoken& t, bool& got);
