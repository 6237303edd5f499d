#include "app/dictionary_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/menu_commands.h"

namespace lexora {
namespace {

TEST(DictionaryMenuTest, ThreeDictionariesGiveSevenItemsWithOneMarkPerGroup) {
  const std::vector<DictionaryMenuItem> items =
      buildDictionaryMenu({u"EV", u"VE", u"FV"}, /*working=*/1, /*reverse=*/2);
  ASSERT_EQ(items.size(), 7u);
  const std::vector<int> commands = {1000, 1001, 1002, 2000, 3000, 3001, 3002};
  const std::vector<std::u16string> texts = {u"EV", u"VE", u"FV", u"-", u"EV", u"VE", u"FV"};
  const std::vector<bool> marks = {false, true, false, false, false, false, true};
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].command, commands[i]) << i;
    EXPECT_EQ(items[i].text, texts[i]) << i;
    EXPECT_EQ(items[i].checked, marks[i]) << i;
    EXPECT_EQ(items[i].separator, i == 3) << i;
  }
}

TEST(DictionaryMenuTest, NoMarkInAGroupWithoutADictionary) {
  for (const DictionaryMenuItem& item : buildDictionaryMenu({u"EV", u""}, -1, -1)) {
    EXPECT_FALSE(item.checked) << item.command;
  }
}

TEST(DictionaryMenuTest, ChoicesSetTheRightIndexAndIgnoreUnknownNumbers) {
  int32_t working = 0;
  int32_t reverse = 0;
  EXPECT_EQ(applyDictionaryChoice(0, 3, working, reverse), DictionaryChoice::kNothing);
  EXPECT_EQ(applyDictionaryChoice(3002, 3, working, reverse), DictionaryChoice::kReverse);
  EXPECT_EQ(reverse, 2);
  EXPECT_EQ(applyDictionaryChoice(1001, 3, working, reverse), DictionaryChoice::kWorking);
  EXPECT_EQ(working, 1);
  // The separator and numbers past the installed dictionaries change nothing.
  for (int result : {2000, 1003, 3003, 999, -5, 1010}) {
    EXPECT_EQ(applyDictionaryChoice(result, 3, working, reverse), DictionaryChoice::kNothing);
  }
  EXPECT_EQ(working, 1);
  EXPECT_EQ(reverse, 2);
}

struct MenuRecorder {
  std::vector<std::string> events;
  int answer = 0;
  DictionaryMenuEffects effects() {
    DictionaryMenuEffects e;
    e.runDictionariesCommand = [this] { events.push_back("dictionaries"); };
    e.enableSelectButton = [this](bool on) { events.push_back(on ? "enable" : "disable"); };
    e.trackMenu = [this](const std::vector<DictionaryMenuItem>& items) {
      events.push_back("menu " + std::to_string(items.size()));
      return answer;
    };
    e.title = [](int32_t slot) { return std::u16string(1, static_cast<char16_t>(u'A' + slot)); };
    e.wordCount = [](int32_t slot) { return static_cast<uint32_t>(100 * (slot + 1)); };
    e.setWordListCount = [this](uint32_t n) { events.push_back("count " + std::to_string(n)); };
    return e;
  }
};

TEST(DictionaryMenuTest, WithNothingInstalledTheButtonRunsTheDictionariesCommand) {
  MenuRecorder recorder;
  int32_t working = -1;
  int32_t reverse = -1;
  runDictionaryMenu(0, working, reverse, recorder.effects());
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"dictionaries"}));
}

TEST(DictionaryMenuTest, NewWorkingDictionaryChangesOnlyTheListLength) {
  MenuRecorder recorder;
  int32_t working = 0;
  int32_t reverse = 2;
  recorder.answer = 1001;
  runDictionaryMenu(3, working, reverse, recorder.effects());
  EXPECT_EQ(working, 1);
  EXPECT_EQ(reverse, 2);
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"disable", "menu 7", "enable", "count 200"}));

  recorder.events.clear();
  recorder.answer = 3000;  // a reverse choice leaves the list alone
  runDictionaryMenu(3, working, reverse, recorder.effects());
  EXPECT_EQ(reverse, 0);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"disable", "menu 7", "enable"}));

  recorder.events.clear();
  recorder.answer = 0;  // dismissed
  runDictionaryMenu(3, working, reverse, recorder.effects());
  EXPECT_EQ(working, 1);
  EXPECT_EQ(reverse, 0);
}

TEST(DictionaryMenuTest, StoredCountAboveTenSlotsIsCut) {
  MenuRecorder recorder;
  int32_t working = 0;
  int32_t reverse = 0;
  runDictionaryMenu(40, working, reverse, recorder.effects());
  EXPECT_EQ(recorder.events[1], "menu 21");
  EXPECT_EQ(applyDictionaryChoice(1010, 40, working, reverse), DictionaryChoice::kNothing);
  EXPECT_EQ(applyDictionaryChoice(3009, 40, working, reverse), DictionaryChoice::kReverse);
}

TEST(DictionaryMenuTest, ReopenAfterOkResetsAndReopensButCancelKeepsEverything) {
  MenuRecorder recorder;
  int32_t working = 2;
  int32_t reverse = 0;
  int32_t current = 17;
  int opens = 0;
  OpenedDictionaries result{1, 2};
  auto openAll = [&] {
    ++opens;
    // The old choice is gone before anything is opened again.
    EXPECT_EQ(working, -1);
    EXPECT_EQ(reverse, -1);
    return result;
  };

  reopenAfterDictionariesDialog(false, {&working, &reverse, &current}, openAll, recorder.effects());
  EXPECT_EQ(working, 2);
  EXPECT_EQ(current, 17);
  EXPECT_EQ(opens, 0);
  EXPECT_TRUE(recorder.events.empty());

  reopenAfterDictionariesDialog(true, {&working, &reverse, &current}, openAll, recorder.effects());
  EXPECT_EQ(working, 1);
  EXPECT_EQ(reverse, 2);
  EXPECT_EQ(current, -1);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"count 0", "count 200"}));

  recorder.events.clear();
  result = {-1, -1};  // nothing opens any more
  reopenAfterDictionariesDialog(true, {&working, &reverse, &current}, openAll, recorder.effects());
  EXPECT_EQ(working, -1);
  EXPECT_EQ(reverse, -1);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"count 0", "count 0"}));
}

}  // namespace
}  // namespace lexora
