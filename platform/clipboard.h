#pragma once
// The desktop clipboard as the hand-off uses it: Unicode text only.

#include <string>
#include <string_view>

namespace lexora {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The clipboard's Unicode text. False when the clipboard holds no text.
  virtual bool readUnicodeText(std::u16string& text) = 0;
  virtual void writeUnicodeText(std::u16string_view text) = 0;
};

}  // namespace lexora
