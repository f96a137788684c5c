// Looking words up: an open-addressed table of the keywords, made when the
// program is compiled, and probed with a hash of the word's folded bytes.
#include "reader/keywords.h"

#include <array>

#include "reader/chars.h"

namespace {

constexpr std::string_view texts[] = {
    "",
#define KEYWORD_TEXT(id, text) text,
    DIALECT_KEYWORDS(KEYWORD_TEXT)
#undef KEYWORD_TEXT
};
static_assert(std::size(texts) == KW_COUNT);

constexpr size_t longest = [] {
  size_t n = 0;
  for (std::string_view t : texts)
    n = t.size() > n ? t.size() : n;
  return n;
}();

constexpr size_t slots = 512;  // a power of two, over four times the words

constexpr uint32_t hash(std::string_view word) {
  uint32_t h = 2166136261u;
  for (unsigned char c : word)
    h = (h ^ ascii_lower(c)) * 16777619u;
  return h;
}

constexpr auto table = [] {
  std::array<kw, slots> t{};
  for (size_t k = 1; k < KW_COUNT; k++) {
    size_t i = hash(texts[k]) & (slots - 1);
    while (t[i] != KW_NONE)
      i = (i + 1) & (slots - 1);
    t[i] = kw(k);
  }
  return t;
}();

// The last letters (a bit each, folded) of the keywords of each length and
// first letter: most words are names, and most are told apart here without
// a hash.
constexpr auto lasts = [] {
  std::array<std::array<uint32_t, 128>, longest + 1> t{};
  for (size_t k = 1; k < KW_COUNT; k++)
    t[texts[k].size()][static_cast<unsigned char>(texts[k][0])] |= 1u << ((texts[k].back() - 'a') & 31);
  return t;
}();

}  // namespace

kw keyword_of(std::string_view word) {
  if (word.size() < 2 || word.size() > longest)
    return KW_NONE;
  unsigned char first = ascii_lower(word[0]), last = ascii_lower(word.back());
  if (first >= 128 || !(lasts[word.size()][first] >> ((last - 'a') & 31) & 1))
    return KW_NONE;
  for (size_t i = hash(word) & (slots - 1);; i = (i + 1) & (slots - 1)) {
    kw k = table[i];
    if (k == KW_NONE || ascii_iequal(texts[k], word))
      return k;
  }
}

std::string_view keyword_text(kw k) { return k < KW_COUNT ? texts[k] : ""; }

char keyword_initial(kw k) { return k > KW_NONE && k < KW_COUNT ? texts[k][0] : '\0'; }
