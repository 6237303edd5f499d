#pragma once
// One page of the popup bubble: up to six fragments of the entry under the page head, with
// "Prev" and "Next" buttons as the page's position asks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/display_settings.h"

namespace lexora {

constexpr int32_t kFragmentsPerPopupPage = 6;

// The commands the page's "Prev" and "Next" buttons send back to the main window (their
// names in the page are "cmd:3" and "cmd:4").
constexpr int kPopupPrevCommand = 3;
constexpr int kPopupNextCommand = 4;

struct PopupButtons {
  bool prev = false;
  bool next = false;
};

// Prev is offered past the first page, Next whenever a fragment lies beyond the page, so that
// every fragment of the entry can be reached (also a single one left after a full page).
PopupButtons popupButtons(std::size_t fragmentCount, int32_t page);

// Number of fragments page `page` shows (0 to 6; 0 for a negative page).
std::size_t popupPageFragmentCount(std::size_t fragmentCount, int32_t page);

// The bubble's HTML for page `page`: page head, the page's fragments, then the buttons
// (behind "<p align=right>" when there are any) and "</body></html>".
std::u16string assemblePopupPage(const std::vector<std::u16string>& fragments, int32_t page,
                                 const DisplaySettings& settings);

}  // namespace lexora
