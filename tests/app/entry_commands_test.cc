#include "app/entry_commands.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "render/entry_markup.h"
#include "tests/app/entry_test_support.h"
#include "tests/support/run_in_child.h"

namespace lexora {
namespace {

using test::Entries;
using test::ShownMessage;

const ShownMessage kDictionaryError{kDictionaryErrorMessage, MessageIcon::Error};

class EntryCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::makeDictionary(dictionary, scratch.dataFile(), initial));
  }

  void run(int command) { commands.onEntryCommand(command, &dictionary, current); }

  Entries stored() { return test::closeAndReadBack(dictionary, scratch.dataFile()); }

  const Entries initial{{u"apple", u"- a fruit"},
                        {u"bread", u"- food\r\n=$eat bread+ăn bánh mì"},
                        {u"cat", u"- an animal"}};
  test::EntryScratch scratch;
  Dictionary dictionary;
  int current = -1;
  test::FakeMessages messages;
  test::FakeEditor editor;
  test::FakeWordList wordList{current};
  EntryCommands commands{messages, editor, wordList};
};

TEST_F(EntryCommandsTest, PreconditionsGateTheCommands) {
  const int all[] = {kCmdAddNewWord, kCmdModifyMeaning, kCmdModifyWord, kCmdDeleteWord};
  current = 1;
  for (int command : all) commands.onEntryCommand(command, nullptr, current);
  current = -1;
  for (int command : {kCmdModifyMeaning, kCmdModifyWord, kCmdDeleteWord}) run(command);
  current = 1;
  run(kCmdShowHistory);  // not an editing command
  EXPECT_TRUE(editor.modes.empty());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(messages.questions.empty());

  current = -1;
  run(kCmdAddNewWord);  // needs no current entry
  ASSERT_EQ(editor.modes, std::vector<EditMode>{EditMode::Add});
  EXPECT_EQ(editor.opened[0].headword, u"NewWord");
  EXPECT_EQ(editor.opened[0].meaning, toEditText(u"NewMeaning"));
  EXPECT_TRUE(messages.shown.empty());  // cancelled
}

TEST_F(EntryCommandsTest, AddStoresLowerCasedHeadwordAndShowsTheNewEntry) {
  editor.acceptWith(u"HeLLo", u"- greeting\r\n=$hello there+xin chào\r\n");
  run(kCmdAddNewWord);
  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{kAddOkMessage, MessageIcon::None}}));
  ASSERT_FALSE(wordList.rowCounts.empty());
  EXPECT_EQ(wordList.rowCounts.back(), 4u);
  EXPECT_EQ(wordList.shown, std::vector<uint32_t>{3});
  EXPECT_EQ(current, 3);
  Entries expected = initial;
  expected.emplace_back(u"hello", u"- greeting\r\n=$hello there+xin chào\r\n");
  EXPECT_EQ(stored(), expected);
}

TEST(EntryCommandTextsTest, LowerCasingAndEditTextInverse) {
  EXPECT_EQ(lowerCaseHeadword(u"ĐÊM Ánh ΩMEGA Привет"), u"đêm ánh ωmega привет");
  // The editing text of a stored meaning comes back as the stored meaning.
  for (std::u16string stored : {u"a\r\nb", u"a\r\r\nb\r\n", u"a\nb\r", u"\r\n\r\n", u""}) {
    const std::u16string back = meaningFromEditText(toEditText(stored));
    std::u16string normalised;  // LF-only line ends become CR LF
    for (size_t i = 0; i < stored.size(); ++i) {
      if (stored[i] == u'\n' && (i == 0 || stored[i - 1] != u'\r')) normalised += u'\r';
      normalised += stored[i];
    }
    EXPECT_EQ(back, normalised);
  }
  EXPECT_EQ(deleteQuestion(u"cat"), u"You want delete entry: \"cat\"");
}

TEST_F(EntryCommandsTest, AddCancelledOrRefusedChangesNoFile) {
  const auto before = test::snapshot(scratch);
  run(kCmdAddNewWord);  // Cancel
  EXPECT_TRUE(messages.shown.empty());

  struct Case {
    std::u16string headword;
    std::u16string meaning;
    ShownMessage message;
  };
  std::u16string longWord;
  for (int i = 0; i < 100; ++i) longWord += u"ế";  // 300 bytes in UTF-8
  const Case cases[] = {
      {u"Apple", u"- again", {kWordExistsMessage, MessageIcon::None}},
      {longWord, u"- long", {kWordSizeMessage, MessageIcon::None}},
      {u"dog", std::u16string(65536, u'x'), {kMeaningSizeMessage, MessageIcon::None}},
      {u"", u"- no word", {kEmptyWordMessage, MessageIcon::None}},
  };
  for (const Case& c : cases) {
    messages.shown.clear();
    editor.acceptWith(c.headword, c.meaning);
    run(kCmdAddNewWord);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{c.message});
  }
  EXPECT_TRUE(wordList.shown.empty());
  EXPECT_EQ(current, -1);
  dictionary.closeDictionary();
  EXPECT_EQ(test::snapshot(scratch), before);
}

TEST_F(EntryCommandsTest, ModifyMeaningEditsTheRawMarkup) {
  current = 1;
  editor.respond = [](EntryTexts& texts) {
    texts.meaning += u"\r\n# syn: $loaf$";
    return true;
  };
  run(kCmdModifyMeaning);
  ASSERT_EQ(editor.modes, std::vector<EditMode>{EditMode::ModifyMeaning});
  EXPECT_EQ(editor.opened[0].headword, u"bread");
  EXPECT_EQ(editor.opened[0].meaning, u"- food\r\r\n=$eat bread+ăn bánh mì");
  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{kModifyOkMessage, MessageIcon::None}}));
  EXPECT_EQ(wordList.shown, std::vector<uint32_t>{1});
  EXPECT_EQ(current, 1);

  // Accepted unchanged, the meaning stays byte for byte what it was.
  editor.respond = [](EntryTexts&) { return true; };
  run(kCmdModifyMeaning);
  Entries expected = initial;
  expected[1].second = u"- food\r\n=$eat bread+ăn bánh mì\r\n# syn: $loaf$";
  EXPECT_EQ(stored(), expected);
}

TEST_F(EntryCommandsTest, ModifyMeaningTooLong) {
  current = 0;
  editor.acceptWith(u"apple", std::u16string(70000, u'y'));
  run(kCmdModifyMeaning);
  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{kSizeMessage, MessageIcon::None}}));
  EXPECT_EQ(current, 0);
  EXPECT_EQ(stored(), initial);
}

TEST_F(EntryCommandsTest, ModifyWordRenamesAsTypedAndShowsTheMovedEntry) {
  current = 0;
  editor.acceptWith(u"Dog", u"ignored");  // the meaning box is disabled in this mode
  run(kCmdModifyWord);
  ASSERT_EQ(editor.modes, std::vector<EditMode>{EditMode::ModifyWord});
  EXPECT_EQ(editor.opened[0].headword, u"apple");
  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{kModifyWordOkMessage, MessageIcon::None}}));
  EXPECT_EQ(wordList.shown, std::vector<uint32_t>{2});  // bread, cat, Dog
  EXPECT_EQ(current, 2);
  EXPECT_EQ(stored(), (Entries{initial[1], initial[2], {u"Dog", u"- a fruit"}}));
}

TEST_F(EntryCommandsTest, ModifyWordEndsWithoutCurrentEntryUnlessShown) {
  std::u16string longWord;
  for (int i = 0; i < 100; ++i) longWord += u"ế";
  const auto before = test::snapshot(scratch);
  struct Case {
    std::u16string headword;
    bool accept;
    std::vector<ShownMessage> messages;
  };
  const Case cases[] = {
      {u"anything", false, {}},
      {u"CAT", true, {{kWordExistsMessage, MessageIcon::None}}},  // equal under Latin1
      {longWord, true, {{kSizeMessage, MessageIcon::None}}},
      {u"", true, {{kEmptyWordMessage, MessageIcon::None}}},
  };
  for (const Case& c : cases) {
    messages.shown.clear();
    current = 1;
    if (c.accept) {
      editor.acceptWith(c.headword, u"");
    } else {
      editor.respond = nullptr;
    }
    run(kCmdModifyWord);
    EXPECT_EQ(messages.shown, c.messages) << std::string(c.headword.begin(), c.headword.end());
    EXPECT_EQ(current, -1);
  }
  EXPECT_TRUE(wordList.shown.empty());
  dictionary.closeDictionary();
  EXPECT_EQ(test::snapshot(scratch), before);
}

TEST_F(EntryCommandsTest, DeleteAsksAndRemovesOnYes) {
  current = 1;
  messages.answerYes = false;
  run(kCmdDeleteWord);
  EXPECT_EQ(messages.questions, std::vector<std::u16string>{u"You want delete entry: \"bread\""});
  EXPECT_EQ(current, 1);
  EXPECT_TRUE(wordList.rowCounts.empty());
  EXPECT_EQ(dictionary.wordCount(), 3u);

  messages.answerYes = true;
  run(kCmdDeleteWord);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(current, -1);
  EXPECT_EQ(wordList.rowCounts, std::vector<uint32_t>{2});
  EXPECT_EQ(wordList.homePages, 1);  // the deleted entry's page leaves the screen
  EXPECT_EQ(stored(), (Entries{initial[0], initial[2]}));
}

// Something that changes the window's current entry while the editor or the question is open
// (another lookup) must not redirect the change: the entry is fixed when the command starts.
TEST_F(EntryCommandsTest, TheEntryIsFixedBeforeTheEditorOrTheQuestionOpens) {
  current = 0;
  editor.respond = [this](EntryTexts& texts) {
    current = 2;  // "cat" shown meanwhile
    texts.meaning = u"- a crisp fruit";
    return true;
  };
  run(kCmdModifyMeaning);
  Entries expected = initial;
  expected[0].second = u"- a crisp fruit";

  current = 0;
  editor.respond = [this](EntryTexts& texts) {
    current = 2;
    texts.headword = u"apricot";
    return true;
  };
  run(kCmdModifyWord);
  expected[0].first = u"apricot";

  struct Asking : test::FakeMessages {
    int* current = nullptr;
    bool askYesNo(const std::u16string& text) override {
      *current = 2;
      return FakeMessages::askYesNo(text);
    }
  } asking;
  asking.current = &current;
  EntryCommands deleting{asking, editor, wordList};
  current = 1;
  deleting.onEntryCommand(kCmdDeleteWord, &dictionary, current);
  EXPECT_EQ(asking.questions, std::vector<std::u16string>{u"You want delete entry: \"bread\""});
  EXPECT_EQ(stored(), (Entries{expected[0], expected[2]}));
}

TEST_F(EntryCommandsTest, UnreadableEntryShowsTheDictionaryErrorWithoutEditor) {
  for (int command : {kCmdModifyMeaning, kCmdModifyWord, kCmdDeleteWord}) {
    current = 7;  // past the end
    run(command);
    EXPECT_EQ(current, 7);
  }
  EXPECT_TRUE(editor.modes.empty());
  EXPECT_TRUE(messages.questions.empty());
  EXPECT_EQ(messages.shown, std::vector<ShownMessage>(3, kDictionaryError));
}

// A dictionary that another program holds open does not open here; the commands say so
// before the editor opens, and the files stay as they were.
TEST_F(EntryCommandsTest, DictionaryHeldByAnotherProgram) {
  Dictionary second;
  ASSERT_FALSE(second.openDictionary(scratch.dataFile()).isOk());
  const auto before = test::snapshot(scratch);
  editor.acceptWith(u"dog", u"- an animal");
  current = 0;
  for (int command : {kCmdAddNewWord, kCmdModifyMeaning, kCmdModifyWord, kCmdDeleteWord}) {
    commands.onEntryCommand(command, &second, current);
  }
  EXPECT_TRUE(editor.modes.empty());
  EXPECT_EQ(messages.shown, std::vector<ShownMessage>(4, kDictionaryError));
  EXPECT_EQ(current, 0);
  EXPECT_EQ(test::snapshot(scratch), before);
}

// Opens the dictionary, runs `command` on entry `entryIndex` with the editor answering OK with
// `answer`, and returns the messages shown, one per line, then "current=<index>".
std::string runCommand(const std::string& dataFile, int command, int entryIndex,
                       const EntryTexts& answer) {
  Dictionary dictionary;
  if (Status s = dictionary.openDictionary(dataFile); !s.isOk())
    return "cannot open: " + s.message();
  test::FakeMessages messages;
  test::FakeEditor editor;
  editor.acceptWith(answer.headword, answer.meaning);
  int current = entryIndex;
  test::FakeWordList wordList{current};
  EntryCommands commands(messages, editor, wordList);
  commands.onEntryCommand(command, &dictionary, current);
  std::string out;
  for (const ShownMessage& m : messages.shown) {
    for (char16_t unit : m.text) out += unit < 0x80 ? static_cast<char>(unit) : '?';
    out += m.icon == MessageIcon::Error ? " (error)\n" : "\n";
  }
  return out + "current=" + std::to_string(current);
}

// The same command with files that cannot grow past `limit` bytes: a full disk, even for root.
std::string runWithFileSizeLimit(const std::string& dataFile, rlim_t limit, int command,
                                 int entryIndex, const EntryTexts& answer) {
  return test::runInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    if (!test::limitTo(RLIMIT_FSIZE, limit)) return std::string("setrlimit failed");
    return runCommand(dataFile, command, entryIndex, answer);
  });
}

TEST_F(EntryCommandsTest, ReadOnlyDictionaryIsRefusedBeforeTheEditor) {
  dictionary.closeDictionary();
  for (const std::string& file : scratch.allFiles()) ::chmod(file.c_str(), 0444);
  ::chmod(scratch.allFiles()[0].substr(0, scratch.allFiles()[0].rfind('/')).c_str(), 0755);
  const auto before = test::snapshot(scratch);
  const std::string expected =
      "The dictionary files are read-only: entries cannot be added, changed or deleted. "
      "(error)\ncurrent=";
  for (int command : {kCmdAddNewWord, kCmdModifyMeaning, kCmdModifyWord, kCmdDeleteWord}) {
    // Permission bits do not stop root: the child gives up root's rights first.
    const std::string out = test::runInChild([&] {
      if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
        return std::string("cannot drop root");
      }
      return runCommand(scratch.dataFile(), command, 0, {u"dog", u"- an animal"});
    });
    EXPECT_EQ(out, expected + "0") << command;
  }
  EXPECT_EQ(test::snapshot(scratch), before);
  EXPECT_EQ(stored(), initial);
}

TEST_F(EntryCommandsTest, FullWordFileKeepsEveryEarlierEntry) {
  dictionary.closeDictionary();
  const auto wordFileSize = static_cast<rlim_t>(test::fileBytes(scratch.allFiles()[1]).size());
  EXPECT_EQ(runWithFileSizeLimit(scratch.dataFile(), wordFileSize, kCmdAddNewWord, -1,
                                 {u"dog", u"- an animal"}),
            "Unknown error!\ncurrent=-1");
  EXPECT_EQ(stored(), initial);
  EXPECT_EQ(
      runWithFileSizeLimit(scratch.dataFile(), wordFileSize, kCmdModifyWord, 0, {u"avocado", u""}),
      "Unknown error!\ncurrent=-1");
  EXPECT_EQ(stored(), initial);
}

TEST_F(EntryCommandsTest, FullDataFileKeepsEveryEarlierEntry) {
  dictionary.closeDictionary();
  // A meaning that does not compress makes the last block need more room than the file has.
  std::u16string noise;
  uint32_t seed = 12345;
  for (int i = 0; i < 4000; ++i) {
    seed = seed * 1103515245 + 12345;
    noise += static_cast<char16_t>(u'!' + (seed >> 16) % 90);
  }
  const auto dataFileSize = static_cast<rlim_t>(test::fileBytes(scratch.dataFile()).size());
  EXPECT_EQ(
      runWithFileSizeLimit(scratch.dataFile(), dataFileSize, kCmdModifyMeaning, 2, {u"cat", noise}),
      "Unknown error!\ncurrent=2");
  EXPECT_EQ(stored(), initial);
}

}  // namespace
}  // namespace lexora
