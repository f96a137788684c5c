// Filling the template's markers in one pass.
#include "page/template.h"

void fill_template(writer& w, std::string_view tmpl, std::span<const page_marker> markers) {
  while (!tmpl.empty()) {
    size_t at = tmpl.find('@');
    w.put(tmpl.substr(0, at));
    if (at == std::string_view::npos)
      return;
    tmpl.remove_prefix(at + 1);
    const page_marker* found = nullptr;
    for (const page_marker& m : markers)
      if (tmpl.starts_with(m.name) && tmpl.substr(m.name.size()).starts_with('@'))
        found = &m;
    if (found) {
      w.put(found->value);
      tmpl.remove_prefix(found->name.size() + 1);
    } else {
      w.put('@');
    }
  }
}
