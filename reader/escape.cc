// HTML attribute escaping shared by both writers.
#include "reader/escape.h"

const char* html_entity(unsigned char c) {
  switch (c) {
    case '"': return "&quot;";
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
  }
  return nullptr;
}

void html_puts(writer& w, std::string_view text) {
  size_t run = 0;  // start of the bytes not yet written
  for (size_t i = 0; i < text.size(); i++) {
    if (const char* entity = html_entity(text[i])) {
      w.put(text.substr(run, i - run));
      w.put(entity);
      run = i + 1;
    }
  }
  w.put(text.substr(run));
}
