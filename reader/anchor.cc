// Anchor identifiers: each byte of the name stays or becomes '_', so an
// identifier is exactly as long as the text it is made from.
#include "reader/anchor.h"

namespace {

bool is_anchor_char(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

void sanitize(std::string& id, size_t from) {
  for (size_t i = from; i < id.size(); i++)
    if (!is_anchor_char(id[i]))
      id[i] = '_';
}

}  // namespace

std::string anchor_id(std::string_view table_name, const char* column_name) {
  std::string id(table_name);
  sanitize(id, 0);
  if (column_name) {
    size_t at = id.size();
    id += '.';
    id += column_name;
    sanitize(id, at);
  }
  return id;
}

std::string anchor_idn(const char* text, size_t len) {
  std::string id(text, len);
  sanitize(id, 0);
  return id;
}
