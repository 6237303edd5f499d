#include "app/history.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace lexora {
namespace {

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

// Keeps a copy of the tree as the listener sees it, to check the events against the model.
class TreeMirror : public HistoryListener {
 public:
  std::vector<int32_t> roots;
  std::map<int32_t, std::vector<std::u16string>> words;
  void rootAdded(int32_t slot, const std::u16string&) override { roots.push_back(slot); }
  void wordRemoved(int32_t slot, int row) override { words[slot].erase(words[slot].begin() + row); }
  void wordInserted(int32_t slot, int row, const std::u16string& word) override {
    words[slot].insert(words[slot].begin() + row, word);
  }
  void cleared() override {
    roots.clear();
    words.clear();
  }
};

class HistoryTest : public ::testing::Test {
 protected:
  HistoryTest() : history_(effects()) { history_.setListener(&mirror_); }

  HistoryEffects effects() {
    HistoryEffects e;
    e.rootInfo = [](int32_t slot) {
      return HistoryEffects::RootInfo{u"Dict" + std::u16string(1, u'0' + slot),
                                      static_cast<uint32_t>(slot + 7)};
    };
    // Each word's position is its first letter's code; slots in `broken` fail.
    e.findWord = [this](int32_t slot, const std::u16string& word) -> std::optional<uint32_t> {
      searches_.push_back(std::to_string(slot) + ":" + narrow(word));
      if (broken_.count(slot) != 0) return std::nullopt;
      return word.empty() ? 0u : static_cast<uint32_t>(word[0]);
    };
    e.showEntry = [this](uint32_t position, int32_t slot) {
      shown_.push_back(std::to_string(slot) + ":" + std::string(1, static_cast<char>(position)));
    };
    e.setShowInMainWindow = [this] { ++mainWindowSets_; };
    e.showLookupError = [this] { ++errors_; };
    e.setButtonState = [this](int command, ButtonState state) { buttons_[command] = state; };
    return e;
  }

  ButtonState back() { return buttons_[kCmdHistoryBack]; }
  ButtonState forward() { return buttons_[kCmdHistoryForward]; }

  TreeMirror mirror_;
  std::vector<std::string> searches_;
  std::vector<std::string> shown_;
  std::set<int32_t> broken_;
  int mainWindowSets_ = 0;
  int errors_ = 0;
  std::map<int, ButtonState> buttons_{{kCmdHistoryBack, ButtonState::kGreyed},
                                      {kCmdHistoryForward, ButtonState::kGreyed}};
  History history_;
};

TEST_F(HistoryTest, RepeatedWordMovesToTheTopAndAppearsOnce) {
  history_.addToHistory(u"a", 0);
  history_.addToHistory(u"b", 0);
  history_.addToHistory(u"a", 0);
  EXPECT_EQ(history_.words(0), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(mirror_.words[0], history_.words(0));
  EXPECT_EQ(history_.rootTitle(0), u"Dict0");
  EXPECT_EQ(history_.rootNodeData(0), 7u);
  // Comparison is exact: a word differing in case is another word.
  history_.addToHistory(u"A", 0);
  EXPECT_EQ(history_.words(0), (std::vector<std::u16string>{u"A", u"a", u"b"}));
}

TEST_F(HistoryTest, RootsPerSlotInTheOrderTheyWereMade) {
  history_.addToHistory(u"x", 3);
  history_.addToHistory(u"y", 1);
  history_.addToHistory(u"z", 3);
  history_.addToHistory(u"w", 10);  // no such slot
  history_.addToHistory(u"w", -1);
  EXPECT_EQ(history_.rootSlots(), (std::vector<int32_t>{3, 1}));
  EXPECT_EQ(mirror_.roots, history_.rootSlots());
  EXPECT_EQ(history_.words(3), (std::vector<std::u16string>{u"z", u"x"}));
  EXPECT_FALSE(history_.hasRoot(0));
  history_.clear();
  EXPECT_TRUE(history_.rootSlots().empty());
  EXPECT_TRUE(mirror_.roots.empty());
}

TEST_F(HistoryTest, BackAndForwardWalkBetweenNewestAndOldest) {
  history_.addToHistory(u"a", 0);
  EXPECT_EQ(back(), ButtonState::kGreyed);  // one word: nowhere to go
  EXPECT_EQ(forward(), ButtonState::kGreyed);
  history_.back(0);
  history_.forward(0);
  EXPECT_TRUE(shown_.empty());

  history_.addToHistory(u"b", 0);
  EXPECT_EQ(back(), ButtonState::kShown);
  EXPECT_EQ(forward(), ButtonState::kGreyed);

  history_.back(0);  // to the older word, which is also the oldest
  EXPECT_EQ(shown_, (std::vector<std::string>{"0:a"}));
  EXPECT_EQ(back(), ButtonState::kGreyed);
  EXPECT_EQ(forward(), ButtonState::kShown);
  history_.back(0);  // nothing older
  EXPECT_EQ(shown_.size(), 1u);

  history_.forward(0);
  EXPECT_EQ(shown_, (std::vector<std::string>{"0:a", "0:b"}));
  EXPECT_EQ(forward(), ButtonState::kGreyed);
  EXPECT_EQ(back(), ButtonState::kShown);
  history_.forward(0);  // nothing newer
  EXPECT_EQ(shown_.size(), 2u);
  // Walking never reorders the words.
  EXPECT_EQ(history_.words(0), (std::vector<std::u16string>{u"b", u"a"}));
}

TEST_F(HistoryTest, NewLookupReturnsTheWalkToTheNewestWord) {
  for (const char16_t* w : {u"a", u"b", u"c"}) history_.addToHistory(w, 0);
  history_.back(0);
  history_.back(0);
  EXPECT_EQ(history_.currentRow(0), 2);
  history_.addToHistory(u"d", 0);
  EXPECT_EQ(history_.currentRow(0), 0);
  EXPECT_EQ(forward(), ButtonState::kGreyed);
  history_.back(0);
  EXPECT_EQ(shown_.back(), "0:c");
}

TEST_F(HistoryTest, BackUsesOnlyTheWorkingDictionary) {
  history_.addToHistory(u"a", 1);
  history_.addToHistory(u"b", 1);
  history_.back(0);   // working dictionary 0 has no history
  history_.back(-1);  // no working dictionary
  history_.forward(-1);
  EXPECT_TRUE(shown_.empty());
  EXPECT_TRUE(searches_.empty());
  history_.back(1);
  EXPECT_EQ(shown_, (std::vector<std::string>{"1:a"}));
}

TEST_F(HistoryTest, FailedSearchShowsTheErrorAndKeepsThePosition) {
  history_.addToHistory(u"a", 2);
  history_.addToHistory(u"b", 2);
  broken_.insert(2);
  history_.back(2);
  EXPECT_EQ(errors_, 1);
  EXPECT_TRUE(shown_.empty());
  EXPECT_EQ(history_.currentRow(2), 0);
  EXPECT_EQ(back(), ButtonState::kShown);
  EXPECT_EQ(forward(), ButtonState::kGreyed);
  EXPECT_EQ(history_.words(2), (std::vector<std::u16string>{u"b", u"a"}));
}

TEST_F(HistoryTest, TapShowsTheWordFromTheDictionaryNamedByItsRoot) {
  history_.addToHistory(u"m", 1);
  history_.addToHistory(u"n", 1);
  const std::vector<std::u16string> installed = {u"Dict0", u"Dict1", u"Dict1"};
  history_.tapWord(u"Dict1", u"m", installed);  // not the working dictionary: still slot 1
  EXPECT_EQ(searches_, (std::vector<std::string>{"1:m"}));
  EXPECT_EQ(shown_, (std::vector<std::string>{"1:m"}));
  EXPECT_EQ(mainWindowSets_, 1);
  // No reordering and no change of the walk.
  EXPECT_EQ(history_.words(1), (std::vector<std::u16string>{u"n", u"m"}));
  EXPECT_EQ(history_.currentRow(1), 0);

  // A root whose title no installed dictionary has any more: nothing.
  history_.tapWord(u"Dict1", u"m", {u"Dict0"});
  EXPECT_EQ(shown_.size(), 1u);
  EXPECT_EQ(searches_.size(), 1u);

  broken_.insert(1);
  history_.tapWord(u"Dict1", u"n", installed);
  EXPECT_EQ(errors_, 1);
  EXPECT_EQ(mainWindowSets_, 1);
}

}  // namespace
}  // namespace lexora
