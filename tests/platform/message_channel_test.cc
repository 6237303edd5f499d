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
  }
  void TearDown() override {
    unsetenv("LEXORA_ENDPOINT_DIR");
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

}  // namespace
}  // namespace lexora
