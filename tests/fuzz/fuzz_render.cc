// The page, fragment and terminal renderers on any meaning text (UTF-16 units, two bytes
// each; the first byte chooses the options).

#include "render/entry_renderer.h"
#include "render/terminal_renderer.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t choice = data[0];
  const std::u16string text = fuzz::asUtf16(data + 1, size - 1);
  DisplaySettings settings;
  settings.useTexture = choice & 1;
  settings.texturePath = u"/pictures/paper.png";
  settings.textSize = (choice >> 1) % 5;
  for (size_t i = 0; i < settings.styles.size(); ++i) {
    if (choice & (0x08 << (i % 4))) settings.styles[i].hidden = true;
  }
  const RenderOptions options{settings, u"/usr/share/lexora/", (choice & 0x80) != 0};
  std::u16string page = renderEntryPage(text, options);
  std::vector<std::u16string> fragments;
  renderEntryFragments(text, fragments, options);
  std::u16string terminal;
  renderEntryForTerminal(text, settings, (choice & 0x40) != 0, terminal);
  return 0;
}
