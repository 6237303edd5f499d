#include "lookup_button/foreground_tracker.h"

#include <gtest/gtest.h>

#include <map>

namespace lexora {
namespace {

class FakeDesktop : public ForegroundSource {
 public:
  std::optional<NativeWindow> front;
  std::map<NativeWindow, std::u16string> titles;
  std::optional<NativeWindow> foregroundWindow() override { return front; }
  std::u16string titleOf(NativeWindow w) override {
    auto it = titles.find(w);
    return it == titles.end() ? std::u16string() : it->second;
  }
};

TEST(ForegroundTrackerTest, KeepsTheLastFrontWindowOtherThanTheButton) {
  FakeDesktop desktop;
  desktop.titles = {{7, u"Lexora"}, {9, u"Reader"}};
  ForegroundTracker t(&desktop, /*button=*/42);
  EXPECT_FALSE(t.lastForeground());  // nothing until the first tick
  desktop.front = 7;
  t.tick();
  desktop.front = 42;  // the button itself in front changes nothing
  t.tick();
  EXPECT_EQ(t.lastForeground(), NativeWindow{7});
  EXPECT_EQ(t.lastForegroundTitle(), u"Lexora");
  desktop.front = 9;
  t.tick();
  EXPECT_EQ(t.lastForegroundTitle(), u"Reader");
  desktop.titles.erase(9);  // closed since: its title reads empty
  EXPECT_EQ(t.lastForegroundTitle(), u"");
  desktop.front.reset();
  t.tick();
  EXPECT_FALSE(t.lastForeground());
}

TEST(ForegroundTrackerTest, WithoutASourceNothingIsEverInFront) {
  ForegroundTracker t(nullptr, 1);
  t.tick();
  EXPECT_FALSE(t.lastForeground());
  EXPECT_EQ(t.lastForegroundTitle(), u"");
}

}  // namespace
}  // namespace lexora
