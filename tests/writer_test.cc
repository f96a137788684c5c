// Tests of the buffered writer, into a string.
#include "html/writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t buffer = sizeof writer::buf;

// `size` bytes that differ from their neighbours, so that a lost, doubled or
// misplaced piece shows.
std::string bytes(size_t size, size_t seed) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; i++)
    s[i] = char('a' + (seed * 7 + i * 13) % 26);
  return s;
}

TEST(Writer, IntoString) {
  const struct {
    const char* what;
    std::vector<size_t> pieces;  // sizes, in order; a piece of 1 goes as a char
  } cases[] = {
      {"nothing", {}},
      {"an empty piece", {0}},
      {"small pieces", {1, 5, 0, 1, 12}},
      {"a piece that fills the buffer", {buffer}},
      {"a piece that fills the buffer, then more", {buffer, 1}},
      {"a piece larger than the buffer", {buffer + 1}},
      {"a large piece between small ones", {10, 3 * buffer + 7, 10}},
      {"a piece that does not fit in what is left", {buffer - 5, 10, 1}},
      {"a piece that exactly fills what is left", {buffer - 5, 5, 1}},
      {"a large piece into a part-filled buffer", {1, buffer, 1}},
      {"a char into a full buffer", {buffer - 1, 1, 1, 1}},
      {"many small pieces over several buffers", std::vector<size_t>(60000, 3)},
      {"many chars over a buffer", std::vector<size_t>(buffer + 100, 1)},
  };
  for (const auto& c : cases) {
    std::string want, got;
    {
      writer w(got);
      for (size_t i = 0; i < c.pieces.size(); i++) {
        std::string piece = bytes(c.pieces[i], i);
        want += piece;
        if (piece.size() == 1)
          w.put(piece[0]);
        else
          w.put(std::string_view(piece));
      }
    }
    auto diff = std::mismatch(want.begin(), want.end(), got.begin(), got.end());
    EXPECT_TRUE(want == got) << c.what << ": sizes " << want.size() << " and " << got.size()
                             << ", first difference at " << (diff.first - want.begin());
  }
}

TEST(Writer, FlushHandsOverWhatWasWritten) {
  std::string got;
  writer w(got);
  w.put("abc");
  w.flush();
  EXPECT_EQ("abc", got);
  w.flush();
  EXPECT_EQ("abc", got);
  w.put('d');
  w.flush();
  EXPECT_EQ("abcd", got);
}

TEST(Writer, PutNum) {
  const struct {
    size_t v;
    std::string want;
  } cases[] = {
      {0, "0"},
      {7, "7"},
      {10, "10"},
      {65536, "65536"},
      {SIZE_MAX, std::to_string(SIZE_MAX)},
  };
  for (const auto& c : cases) {
    std::string got;
    {
      writer w(got);
      w.put('[');
      w.put_num(c.v);
      w.put(']');
    }
    EXPECT_EQ("[" + c.want + "]", got);
  }
}

}  // namespace
