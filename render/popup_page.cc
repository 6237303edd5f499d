#include "render/popup_page.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "render/entry_renderer.h"

namespace lexora {
namespace {

// A button of the page that sends `command` back: <input type=button name='cmd:N' value='..'>.
void appendCommandButton(std::u16string& html, int command, std::u16string_view label) {
  html.append(u"<input type=button name='cmd:");
  for (char c : std::to_string(command)) html.push_back(static_cast<char16_t>(c));
  html.append(u"' value='");
  html.append(label);
  html.append(u"'>");
}

}  // namespace

std::size_t popupPageFragmentCount(std::size_t fragmentCount, int32_t page) {
  if (page < 0) return 0;
  const uint64_t first = static_cast<uint64_t>(page) * kFragmentsPerPopupPage;
  if (first >= fragmentCount) return 0;
  return static_cast<std::size_t>(
      std::min<uint64_t>(kFragmentsPerPopupPage, fragmentCount - first));
}

PopupButtons popupButtons(std::size_t fragmentCount, int32_t page) {
  PopupButtons buttons;
  buttons.prev = page > 0;
  const int64_t shown = static_cast<int64_t>(popupPageFragmentCount(fragmentCount, page));
  const int64_t reached = static_cast<int64_t>(page) * kFragmentsPerPopupPage + shown;
  buttons.next = reached < static_cast<int64_t>(fragmentCount);
  return buttons;
}

std::u16string assemblePopupPage(const std::vector<std::u16string>& fragments, int32_t page,
                                 const DisplaySettings& settings) {
  std::u16string html = pageHead(settings);
  const std::size_t shown = popupPageFragmentCount(fragments.size(), page);
  const std::size_t first = shown > 0 ? static_cast<std::size_t>(page) * kFragmentsPerPopupPage : 0;
  for (std::size_t k = 0; k < shown; ++k) html.append(fragments[first + k]);
  const PopupButtons buttons = popupButtons(fragments.size(), page);
  if (buttons.prev || buttons.next) html.append(u"<p align=right>");
  if (buttons.prev) appendCommandButton(html, kPopupPrevCommand, u"Prev");
  if (buttons.next) appendCommandButton(html, kPopupNextCommand, u"Next");
  html.append(u"</body></html>");
  return html;
}

}  // namespace lexora
