#pragma once
// Text put into a page as text: the characters HTML reads as markup become entities.

#include <string>
#include <string_view>

namespace lexora {

inline std::u16string htmlEscaped(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&':
        out += u"&amp;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      case u'"':
        out += u"&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace lexora
