#pragma once
// The desktop clipboard through Qt.

#include "platform/clipboard.h"

namespace lexora {

class QtClipboard : public Clipboard {
 public:
  bool readUnicodeText(std::u16string& text) override;
  void writeUnicodeText(std::u16string_view text) override;
};

}  // namespace lexora
