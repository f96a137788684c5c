// Tests of the anchor identifiers shared by tabledoc and tablegraph.
#include "html/anchor.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace {

// anchor_idn over the first `len` bytes of an exactly sized copy of `text`,
// which has no NUL after it.
std::string idn(std::string_view text, size_t len) {
  std::unique_ptr<char[]> copy(new char[text.size()]);
  std::memcpy(copy.get(), text.data(), text.size());
  return written([&](writer& w) { anchor_idn(w, std::string_view(copy.get(), len)); });
}

std::string id(const char* table, const char* column) {
  return written([&](writer& w) {
    if (column)
      anchor_id(w, table, column);
    else
      anchor_id(w, table);
  });
}

TEST(AnchorId, Identifiers) {
  const struct {
    const char* table;
    const char* column;  // null for the table's own identifier
    std::string want;
  } cases[] = {
      {"users", nullptr, "users"},
      {"users", "id", "users.id"},
      {"Users", "ID", "Users.ID"},
      {"order items", nullptr, "order_items"},
      {"t", "user-id", "t.user-id"},
      {"t", "price$", "t.price_"},
      {"a.b", nullptr, "a.b"},
      {"Stra\xC3\x9F" "e", nullptr, "Stra__e"},
      {"\xC3\xA9", "\xC3\xA9", "__.__"},
      {"AZaz09-._", "x", "AZaz09-._.x"},
      {"!\"#$%&'()*+,/:;<=>?@[\\]^`{|}~", nullptr, std::string(29, '_')},
      {"\t\n\x01\x7f \x80\xA0\xFF", nullptr, std::string(8, '_')},
      {"", nullptr, ""},
      {"t", "", "t."},
      {"", "", "."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.want, id(c.table, c.column))
        << "table: " << c.table << ", column: " << (c.column ? c.column : "(null)");
}

TEST(AnchorIdn, Identifiers) {
  const struct {
    std::string_view text;
    size_t len;
    std::string want;
  } cases[] = {
      {"users.id", 8, "users.id"},
      {"users.id", 5, "users"},
      {"users.id", 0, ""},
      {"a b", 3, "a_b"},
      {"caf\xC3\xA9", 5, "caf__"},
      {"a<b c", 3, "a_b"},
      {"x-Y_9.", 6, "x-Y_9."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.want, idn(c.text, c.len)) << "text: " << c.text << ", len: " << c.len;
}

}  // namespace
