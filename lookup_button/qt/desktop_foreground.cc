#include "lookup_button/qt/desktop_foreground.h"

#include <QGuiApplication>
#include <QString>

#ifdef LEXORA_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace lexora {

#ifdef LEXORA_HAVE_XCB
namespace {

class X11Foreground : public ForegroundSource {
 public:
  explicit X11Foreground(xcb_connection_t* connection) : connection_(connection) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    activeWindow_ = atom("_NET_ACTIVE_WINDOW");
    wmName_ = atom("_NET_WM_NAME");
    utf8String_ = atom("UTF8_STRING");
  }
  ~X11Foreground() override { xcb_disconnect(connection_); }

  std::optional<NativeWindow> foregroundWindow() override {
    std::string value = property(root_, activeWindow_, XCB_ATOM_WINDOW);
    if (value.size() < sizeof(uint32_t)) return std::nullopt;
    uint32_t window = 0;
    std::memcpy(&window, value.data(), sizeof window);
    if (window == XCB_WINDOW_NONE) return std::nullopt;
    return NativeWindow{window};
  }

  std::u16string titleOf(NativeWindow window) override {
    const auto id = static_cast<xcb_window_t>(window);
    std::string utf8 = property(id, wmName_, utf8String_);
    if (!utf8.empty())
      return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU16String();
    std::string latin1 = property(id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()))
        .toStdU16String();
  }

 private:
  xcb_atom_t atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    const xcb_atom_t a = reply->atom;
    std::free(reply);
    return a;
  }

  // The property's bytes (at most 1 KiB of them); empty when it is missing or of another type.
  std::string property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
    if (name == XCB_ATOM_NONE || type == XCB_ATOM_NONE) return {};
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, name, type, 0, 256), nullptr);
    if (reply == nullptr) return {};  // also a window that has gone away
    std::string bytes;
    if (reply->type == type) {
      const int length = xcb_get_property_value_length(reply);
      if (length > 0)
        bytes.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<size_t>(length));
    }
    std::free(reply);
    return bytes;
  }

  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
  xcb_atom_t activeWindow_ = XCB_ATOM_NONE;
  xcb_atom_t wmName_ = XCB_ATOM_NONE;
  xcb_atom_t utf8String_ = XCB_ATOM_NONE;
};

}  // namespace
#endif

std::unique_ptr<ForegroundSource> makeDesktopForegroundSource() {
#ifdef LEXORA_HAVE_XCB
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return nullptr;
  }
  return std::make_unique<X11Foreground>(connection);
#else
  return nullptr;
#endif
}

}  // namespace lexora
