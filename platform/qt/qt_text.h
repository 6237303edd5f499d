#pragma once
// Wide text between the core's std::u16string and Qt's QString. Both hold UTF-16 units, so the
// conversion copies units and never re-encodes.

#include <QString>

#include <string>
#include <string_view>

namespace lexora {

inline QString toQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string toU16String(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

}  // namespace lexora
