#include "platform/message_channel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "tests/support/endpoint_socket.h"

namespace lexora {
namespace {

TEST(WindowMessageTest, EncodesAndDecodes) {
  WindowMessage m{kLookupWordMessage, 1, -1};
  uint8_t bytes[WindowMessage::kEncodedSize];
  m.encodeTo(bytes);
  EXPECT_EQ(WindowMessage::decodeFrom(bytes), m);
  bytes[0] ^= 1;
  EXPECT_FALSE(WindowMessage::decodeFrom(bytes));
  uint8_t reply[WindowMessageReply::kEncodedSize];
  WindowMessageReply{-42}.encodeTo(reply);
  EXPECT_EQ(WindowMessageReply::decodeFrom(reply)->result, -42);
}

TEST(EndpointNameTest, SpellsTheIdentityBothWays) {
  for (const WindowIdentity& id : {mainWindowIdentity(), lookupButtonIdentity(),
                                   WindowIdentity{"Lookup.Class", "a/b %.", kTaskbarClass}}) {
    std::string name = endpointFileName(id);
    EXPECT_EQ(name.find('/'), std::string::npos);
    EXPECT_EQ(identityFromEndpointFileName(name), id) << name;
  }
  EXPECT_NE(endpointFileName({"", "Lexora", ""}), endpointFileName({"Lexora", "", ""}));
  EXPECT_FALSE(identityFromEndpointFileName("w.%.x"));
  EXPECT_FALSE(identityFromEndpointFileName("w.%.%.%4"));
  EXPECT_FALSE(identityFromEndpointFileName("other"));
}

// A listener that answers one message with its message number plus wParam.
class OneShotWindow {
 public:
  explicit OneShotWindow(const WindowIdentity& id) { fd_ = test::listenAtEndpoint(id); }
  ~OneShotWindow() { close(fd_); }
  // Accepts connections until one carries a message; answers it.
  WindowMessage serveOne() {
    for (;;) {
      int c = accept(fd_, nullptr, nullptr);
      const std::optional<WindowMessage> read = test::readWindowMessage(c);
      if (!read) {  // a probe from findWindow
        close(c);
        continue;
      }
      const WindowMessage m = *read;
      uint8_t out[WindowMessageReply::kEncodedSize];
      WindowMessageReply{static_cast<int64_t>(m.message + m.wParam)}.encodeTo(out);
      (void)!write(c, out, sizeof out);
      close(c);
      return m;
    }
  }

 private:
  int fd_;
};

class MessageChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "lexora-ch-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    setenv("LEXORA_ENDPOINT_DIR", folder_.c_str(), 1);
    setenv("LEXORA_REGISTRY", (folder_ + "/settings/registry.sqlite").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("LEXORA_ENDPOINT_DIR");
    unsetenv("LEXORA_REGISTRY");
    std::filesystem::remove_all(folder_);
  }
  std::string folder_;
};

TEST_F(MessageChannelTest, FindsAndSendsToALiveWindowOnly) {
  EXPECT_FALSE(findWindow("", "Lexora"));
  EXPECT_EQ(sendWindowMessage(mainWindowIdentity(), {1, 2, 3}), SendStatus::kNoWindow);

  WindowIdentity docked{kLookupButtonClass, kLookupButtonTitle, kTaskbarClass};
  OneShotWindow window(mainWindowIdentity());
  OneShotWindow child(docked);
  EXPECT_EQ(findWindow("", "Lexora"), mainWindowIdentity());
  EXPECT_FALSE(findWindow("Other", "Lexora"));
  EXPECT_FALSE(findWindow("", "Lookup"));  // a docked button is not top-level
  EXPECT_EQ(childWindows(kTaskbarClass), std::vector<WindowIdentity>{docked});

  WindowMessage received;
  std::thread server([&] { received = window.serveOne(); });
  int64_t result = 0;
  EXPECT_EQ(sendWindowMessage(mainWindowIdentity(), {kLookupWordMessage, 1, 0}, &result),
            SendStatus::kHandled);
  server.join();
  EXPECT_EQ(received, (WindowMessage{kLookupWordMessage, 1, 0}));
  EXPECT_EQ(result, kLookupWordMessage + 1);
}

TEST_F(MessageChannelTest, AnEndpointLeftByAnEndedProgramIsNotAWindow) {
  { OneShotWindow gone(mainWindowIdentity()); }
  EXPECT_FALSE(findWindow("", "Lexora"));
  EXPECT_FALSE(std::filesystem::exists(endpointPath(mainWindowIdentity())));
}

// A folder that another user made first (or left open to all) must not carry the messages:
// they could listen in the programs' place. A private folder with a random name stands in for
// it, the same one for every program and every start (its name is kept beside the settings).
TEST_F(MessageChannelTest, OnlyAPrivateFolderOfTheUsersOwnHoldsEndpoints) {
  namespace fs = std::filesystem;
  const std::string open = folder_ + "/open";
  const std::string link = folder_ + "/link";
  const std::string file = folder_ + "/file";
  const std::string theirs = folder_ + "/theirs";
  fs::create_directory(open);
  fs::permissions(open, fs::perms::all);
  fs::create_directory_symlink(folder_, link);
  std::fclose(std::fopen(file.c_str(), "w"));
  fs::create_directory(theirs);
  fs::permissions(theirs, fs::perms::owner_all);
  const bool chowned = geteuid() == 0 && ::chown(theirs.c_str(), 65534, 65534) == 0;
  for (const std::string& bad : {open, link, file, theirs}) {
    if (bad == theirs && !chowned) continue;
    setenv("LEXORA_ENDPOINT_DIR", bad.c_str(), 1);
    const std::string folder = endpointFolder();
    ASSERT_EQ(folder.rfind(bad + "-", 0), 0u) << bad << " gave " << folder;
    const std::string standIn = folder.substr(0, folder.rfind('/'));
    EXPECT_EQ(fs::symlink_status(standIn).permissions(), fs::perms::owner_all);
    EXPECT_EQ(endpointPath(mainWindowIdentity()),
              folder + "/" + endpointFileName(mainWindowIdentity()));
    EXPECT_EQ(endpointFolder(), folder);
  }
  // The folder that stands in is made again after a restart has emptied the temporary
  // folder, and replaced when someone else took its name meanwhile.
  setenv("LEXORA_ENDPOINT_DIR", file.c_str(), 1);
  const std::string kept = endpointFolder();
  const std::string standIn = kept.substr(0, kept.rfind('/'));
  fs::remove_all(standIn);
  EXPECT_EQ(endpointFolder(), kept);
  fs::permissions(standIn, fs::perms::all);
  const std::string replaced = endpointFolder();
  EXPECT_NE(replaced, kept);
  EXPECT_EQ(replaced.rfind(file + "-", 0), 0u) << replaced;
  // Without a place for the record that only the user can write, nothing stands in.
  const std::string shared = folder_ + "/shared";
  fs::create_directory(shared);
  fs::permissions(shared, fs::perms::all);
  setenv("LEXORA_REGISTRY", (shared + "/registry.sqlite").c_str(), 1);
  EXPECT_EQ(endpointFolder(), "");
  EXPECT_EQ(endpointPath(mainWindowIdentity()), "");

  setenv("LEXORA_ENDPOINT_DIR", (folder_ + "/new").c_str(), 1);
  EXPECT_EQ(fs::status(endpointFolder()).permissions(), fs::perms::owner_all);
}

// Two desktop sessions of one user never reach each other's windows.
TEST_F(MessageChannelTest, EachDesktopSessionHasItsOwnWindows) {
  struct Session {
    const char* wayland;
    const char* display;
    const char* id;
  };
  const char* names[] = {"WAYLAND_DISPLAY", "DISPLAY", "XDG_SESSION_ID"};
  std::string saved[3];
  for (int i = 0; i < 3; ++i) saved[i] = std::getenv(names[i]) ? std::getenv(names[i]) : "";
  auto enter = [&](const Session& s) {
    const char* values[] = {s.wayland, s.display, s.id};
    for (int i = 0; i < 3; ++i) setenv(names[i], values[i], 1);
  };
  enter({"", ":71", ""});
  const std::string first = endpointFolder();
  OneShotWindow window(mainWindowIdentity());
  EXPECT_TRUE(findWindow("", "Lexora"));
  enter({"", ":71.0", ""});  // the same display on its first screen
  EXPECT_EQ(endpointFolder(), first);
  for (const Session& other :
       {Session{"", ":72", ""}, Session{"", ":71", "c2"}, Session{"wayland-0", ":71", ""}}) {
    enter(other);
    EXPECT_NE(endpointFolder(), first);
    EXPECT_FALSE(findWindow("", "Lexora"));
    EXPECT_EQ(sendWindowMessage(mainWindowIdentity(), {1, 2, 3}), SendStatus::kNoWindow);
  }
  for (int i = 0; i < 3; ++i) setenv(names[i], saved[i].c_str(), 1);
}

}  // namespace
}  // namespace lexora
