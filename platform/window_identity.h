#pragma once
// How one program finds another's window: a window is named by its class and its title, and a
// window that sits inside another (the lookup button docked on a taskbar) also by the class of
// its parent. The window messages the two programs exchange are numbered here.

#include <cstdint>
#include <string>

namespace lexora {

struct WindowIdentity {
  std::string windowClass;  // empty: no class of its own (the main window)
  std::string title;
  std::string parentClass;  // empty for a top-level window

  bool operator==(const WindowIdentity&) const = default;
};

// The main window: a top-level window titled "Lexora".
inline constexpr const char* kMainWindowTitle = "Lexora";
// The lookup button window: class "LookupClass", title "Lookup"; when it is docked it is a
// child titled "Lookup" of the taskbar window.
inline constexpr const char* kLookupButtonClass = "LookupClass";
inline constexpr const char* kLookupButtonTitle = "Lookup";
inline constexpr const char* kTaskbarClass = "HHTaskBar";

inline WindowIdentity mainWindowIdentity() { return {"", kMainWindowTitle, ""}; }
inline WindowIdentity lookupButtonIdentity() {
  return {kLookupButtonClass, kLookupButtonTitle, ""};
}

// Window messages understood across the two programs.
constexpr uint32_t kDestroyMessage = 0x0002;     // WM_DESTROY: the window closes its program
constexpr uint32_t kLookupWordMessage = 0x9304;  // LOOKUP_WORD: look up the clipboard's text
// A second start of the main program asks the running window to come forward, then ends.
constexpr uint32_t kShowWindowMessage = 0x9305;

}  // namespace lexora
