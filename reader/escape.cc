// HTML attribute escaping shared by both writers.
#include "reader/escape.h"

void html_puts(std::FILE* out, std::string_view text) {
  size_t run = 0;  // start of the bytes not yet written
  for (size_t i = 0; i < text.size(); i++) {
    const char* entity;
    switch (text[i]) {
      case '"': entity = "&quot;"; break;
      case '&': entity = "&amp;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      default: continue;
    }
    fwrite_unlocked(text.data() + run, 1, i - run, out);
    fputs_unlocked(entity, out);
    run = i + 1;
  }
  fwrite_unlocked(text.data() + run, 1, text.size() - run, out);
}
