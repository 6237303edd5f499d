#pragma once
// The changes the crash tests interrupt, and how they compare a dictionary's files.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "engine/journal.h"
#include "engine_test_support.h"
#include "tests/support/status_assertions.h"

namespace lexora::test {

struct FileSet {
  std::vector<uint8_t> index, word, data;
  bool operator==(const FileSet&) const = default;
};

inline FileSet readFileSet(const std::string& dataFile) {
  const FileSetNames n = fileSetNames(dataFile);
  return {readFile(n.indexFile), readFile(n.wordFile), readFile(n.dataFile)};
}

inline void writeFileSet(const std::string& dataFile, const FileSet& files) {
  const FileSetNames n = fileSetNames(dataFile);
  writeFile(n.indexFile, files.index);
  writeFile(n.wordFile, files.word);
  writeFile(n.dataFile, files.data);
  std::filesystem::remove(journalName(dataFile));
}

// Letters and spaces that compress to about 60%, so that a few dozen meanings fill blocks.
inline std::u16string meaningText(uint32_t seed, size_t length) {
  std::u16string text;
  uint32_t x = seed * 2654435761u + 1;
  while (text.size() < length) {
    x = x * 1103515245u + 12345u;
    const uint32_t r = (x >> 16) % 28;
    text += r < 26 ? char16_t(u'a' + r) : r == 26 ? u' ' : u'\u00e9';
  }
  return text;
}

inline std::u16string headword(uint32_t i) {
  static const std::u16string kEndings[] = {u"", u"\u00e1", u"\u0436", u"b"};
  std::u16string w = u"w";
  w += char16_t(u'0' + i / 10);
  w += char16_t(u'0' + i % 10);
  return w + kEndings[i % 4];
}

// Every entry of the dictionary reads: its headword and its meaning.
inline void expectEveryEntryReads(const std::string& dataFile) {
  Dictionary d;
  ASSERT_OK(d.openDictionary(dataFile));
  for (uint32_t i = 0; i < d.wordCount(); ++i) {
    std::vector<std::u16string> words;
    std::u16string meaning;
    ASSERT_OK(d.readWords(i, 1, words)) << i;
    EXPECT_FALSE(words[0].empty()) << i;
    EXPECT_OK(d.readMeaning(i, meaning)) << "entry " << i;
  }
}

struct Change {
  const char* name;
  // Runs the change through fs on the dictionary named by dataFile; true when it reported Ok.
  std::function<bool(FileSystem& fs, const std::string& dataFile, uint32_t collation)> run;
};

// Opens the dictionary through fs and runs one change on it.
inline bool onDictionary(FileSystem& fs, const std::string& dataFile,
                         const std::function<bool(Dictionary&)>& change) {
  Dictionary d(fs);
  if (!d.openDictionary(dataFile).isOk()) return false;
  return change(d);
}

inline std::vector<Change> changes() {
  return {
      {"add in the middle",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(
             fs, f, [](Dictionary& d) { return d.addEntry(u"w25x", meaningText(7, 500)).isOk(); });
       }},
      {"add across a block boundary",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(
             fs, f, [](Dictionary& d) { return d.addEntry(u"a", meaningText(8, 60000)).isOk(); });
       }},
      {"modify meaning",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(
             fs, f, [](Dictionary& d) { return d.modifyMeaning(3, meaningText(9, 3000)).isOk(); });
       }},
      {"rename",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(fs, f, [](Dictionary& d) {
           uint32_t index = 30;
           return d.modifyWord(index, u"w01zz").isOk();
         });
       }},
      {"delete",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(fs, f, [](Dictionary& d) { return d.deleteEntry(10).isOk(); });
       }},
      {"title",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(fs, f, [](Dictionary& d) { return d.setTitle(u"New title").isOk(); });
       }},
      {"description",
       [](FileSystem& fs, const std::string& f, uint32_t) {
         return onDictionary(fs, f,
                             [](Dictionary& d) { return d.setDescription(u"Changed").isOk(); });
       }},
      {"replace by the builder",
       [](FileSystem& fs, const std::string& f, uint32_t collation) {
         DictionaryBuilder builder(collation);
         builder.setFileSystem(fs);
         for (uint32_t i = 0; i < 5; ++i) builder.add(headword(i), meaningText(100 + i, 40));
         return builder.finish(f).isOk();
       }},
      {"create over it",
       [](FileSystem& fs, const std::string& f, uint32_t collation) {
         Dictionary d(fs);
         return d.createDictionary(f, collation).isOk();
       }},
  };
}

}  // namespace lexora::test
