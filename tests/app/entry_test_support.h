#pragma once
// Shared by the editing-command tests and the editor dialog tests: a scratch folder with a
// small dictionary, fakes of the command interfaces, and reading a dictionary back from disk.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/scratch_dir.h"

#include "app/entry_commands.h"
#include "engine/collation.h"
#include "engine/dictionary.h"

namespace lexora::test {

class EntryScratch {
 public:
  EntryScratch() : dir_("lexora-edit"), path_(dir_.path()) {}
  EntryScratch(const EntryScratch&) = delete;
  EntryScratch& operator=(const EntryScratch&) = delete;

  std::string dataFile() const { return path_ + "/dict.pvm"; }
  std::vector<std::string> allFiles() const {
    return {path_ + "/dict.pvm", path_ + "/dict.pdw", path_ + "/dict.pdi"};
  }

 private:
  ScratchDir dir_;
  std::string path_;
};

using Entries = std::vector<std::pair<std::u16string, std::u16string>>;

// Creates the dictionary with the entries (added one by one, so they end up sorted) and
// leaves `dictionary` open on it. False when the engine refuses anything.
inline bool makeDictionary(Dictionary& dictionary, const std::string& dataFile,
                           const Entries& entries, uint32_t collation = kLatin1) {
  if (!dictionary.createDictionary(dataFile, collation).isOk()) return false;
  for (const auto& [headword, meaning] : entries) {
    if (!dictionary.addEntry(headword, meaning).isOk()) return false;
  }
  return true;
}

// Every entry of the dictionary in table order, read through a fresh Dictionary. False when
// the dictionary does not open or any headword or meaning does not read (`error` says why).
inline bool readBack(const std::string& dataFile, Entries& entries, std::string* error = nullptr) {
  Dictionary dictionary;
  std::string ignored;
  std::string& why = error ? *error : ignored;
  if (Status s = dictionary.openDictionary(dataFile); !s.isOk()) {
    why = s.message();
    return false;
  }
  entries.clear();
  for (uint32_t i = 0; i < dictionary.wordCount(); ++i) {
    std::vector<std::u16string> words;
    std::u16string meaning;
    Status s = dictionary.readWords(i, 1, words);
    if (s.isOk()) s = dictionary.readMeaning(i, meaning);
    if (!s.isOk()) {
      why = s.message();
      return false;
    }
    entries.emplace_back(words[0], meaning);
  }
  return true;
}

// What the files hold once `dictionary` (open on them) is closed, read back as above; a
// failed read fails the calling test.
inline Entries closeAndReadBack(Dictionary& dictionary, const std::string& dataFile) {
  dictionary.closeDictionary();
  Entries entries;
  std::string error;
  EXPECT_TRUE(readBack(dataFile, entries, &error)) << error;
  return entries;
}

inline std::vector<char> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<std::vector<char>> snapshot(const EntryScratch& scratch) {
  std::vector<std::vector<char>> bytes;
  for (const std::string& file : scratch.allFiles()) bytes.push_back(fileBytes(file));
  return bytes;
}

struct ShownMessage {
  std::u16string text;
  MessageIcon icon;
  bool operator==(const ShownMessage&) const = default;
};

class FakeMessages : public EntryMessages {
 public:
  void showMessage(const std::u16string& text, MessageIcon icon) override {
    shown.push_back({text, icon});
  }
  bool askYesNo(const std::u16string& text) override {
    questions.push_back(text);
    return answerYes;
  }

  std::vector<ShownMessage> shown;
  std::vector<std::u16string> questions;
  bool answerYes = true;
};

// Records how the editor was opened and answers with `respond` (Cancel when unset).
class FakeEditor : public EntryEditor {
 public:
  bool edit(EditMode mode, EntryTexts& texts) override {
    modes.push_back(mode);
    opened.push_back(texts);
    return respond ? respond(texts) : false;
  }

  // OK with these texts.
  void acceptWith(std::u16string headword, std::u16string meaning) {
    respond = [=](EntryTexts& texts) {
      texts = {headword, meaning};
      return true;
    };
  }

  std::function<bool(EntryTexts&)> respond;
  std::vector<EditMode> modes;
  std::vector<EntryTexts> opened;
};

class FakeWordList : public EntryWordList {
 public:
  explicit FakeWordList(int& currentEntryIndex) : current_(currentEntryIndex) {}
  void setRowCount(uint32_t count) override { rowCounts.push_back(count); }
  // Like the main window's showEntry, showing makes the entry the current one.
  void showEntry(uint32_t index) override {
    shown.push_back(index);
    current_ = static_cast<int>(index);
  }
  void showHomePage() override { ++homePages; }

  std::vector<uint32_t> rowCounts;
  int homePages = 0;
  std::vector<uint32_t> shown;

 private:
  int& current_;
};

}  // namespace lexora::test
