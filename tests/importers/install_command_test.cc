// lexora-cli install and available, with the data folder, the home folder and the settings
// store in a scratch folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "stardict_test_files.h"
#include "tests/support/cli_folder.h"

namespace lexora::test {
namespace {

namespace fs = std::filesystem;

class InstallFolder : public CliFolder {
 public:
  InstallFolder() {
    ::setenv("XDG_DATA_HOME", file("data").c_str(), 1);
    ::setenv("HOME", file("home").c_str(), 1);
    ::setenv("LEXORA_REGISTRY", file("registry.sqlite").c_str(), 1);
  }
  std::string installed(const std::string& name) const {
    return file("data/lexora/dictionaries/" + name);
  }
};

TEST(InstallCommand, InstallsEachKindAndAddsItToTheList) {
  InstallFolder dir;
  fs::create_directories(dir.file("src"));
  StardictFiles book;
  book.sameTypeSequence = "m";
  book.entries = {{"alpha", "first letter"}, {"beta", "second letter"}};
  book.write(dir.file("src/greek"));
  dir.write("src/words.tsv", "one\t- uno\ntwo\t- dos\n");

  const CliResult star = dir.run({"install", "src/greek.ifo"});
  ASSERT_EQ(star.status, 0) << star.err;
  EXPECT_NE(star.out.find("imported 2, skipped 0\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir.installed("greek.pvm")));
  const CliResult tsv = dir.run({"install", "src/words.tsv", "--title", "Spanish"});
  ASSERT_EQ(tsv.status, 0) << tsv.err;
  const std::string list = dir.run({"dicts"}).out;
  EXPECT_NE(list.find("1  " + dir.installed("greek.pvm") + "  \"Test Book\"  2 words  [working]"),
            std::string::npos)
      << list;
  EXPECT_NE(list.find("2  " + dir.installed("words.pvm") + "  \"Spanish\"  2 words  [reverse]"),
            std::string::npos)
      << list;

  // Installing the same source again is refused and changes nothing.
  const CliResult again = dir.run({"install", "src/words.tsv"});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("already installed as dictionary 2"), std::string::npos);
  EXPECT_EQ(dir.run({"dicts"}).out, list);

  // A file of no known kind, and a missing one.
  dir.write("src/notes.txt", "no tabs here\n");
  EXPECT_NE(dir.run({"install", "src/notes.txt"}).err.find("cannot tell its format"),
            std::string::npos);
  EXPECT_EQ(dir.run({"install", "src/none.ifo"}).status, 1);
}

TEST(InstallCommand, AnEleventhIsRefusedBeforeAnythingIsWritten) {
  InstallFolder dir;
  for (int i = 0; i < 10; ++i) {
    const std::string name = "src" + std::to_string(i) + ".tsv";
    dir.write(name, "w\t- m\n");
    ASSERT_EQ(dir.run({"install", name}).status, 0);
  }
  dir.write("extra.tsv", "w\t- m\n");
  const CliResult r = dir.run({"install", "extra.tsv"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("10 dictionaries are installed already"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.installed("extra.pvm")));
}

TEST(InstallCommand, AFailedImportInstallsNothing) {
  InstallFolder dir;
  StardictFiles book;
  book.entries = {{"a", "mx"}};
  book.write(dir.file("broken"));
  std::remove(dir.file("broken.dict").c_str());
  dir.write("broken.dict.dz", std::string("\x1f\x8b\x08\x00", 4) + "cut");
  const CliResult r = dir.run({"install", "broken.ifo"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(dir.run({"dicts"}).out, "no dictionaries installed\n");
  EXPECT_FALSE(fs::exists(dir.installed("broken.pvm")));
  // No half-written or temporary files either.
  std::error_code ec;
  EXPECT_TRUE(fs::is_empty(dir.installed(""), ec) || ec);
}

TEST(AvailableCommand, ListsStardictDictionariesInTheHomeFolder) {
  InstallFolder dir;
  fs::create_directories(dir.file("home/.stardict/dic/greek"));
  StardictFiles book;
  book.bookname = "Greek Letters";
  book.sameTypeSequence = "m";
  book.entries = {{"alpha", "first letter"}};
  book.write(dir.file("home/.stardict/dic/greek/greek"));
  const CliResult r = dir.run({"available"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("StarDict  " + dir.file("home/.stardict/dic/greek/greek.ifo") +
                       "  \"Greek Letters\"  "),
            std::string::npos)
      << r.out;
  EXPECT_EQ(dir.run({"available", "extra"}).status, 2);
}

TEST(InstallCommand, ANameThatIsNotUtf8IsInstalledUnderOneThatOpens) {
  InstallFolder dir;
  fs::create_directories(dir.file("src"));
  dir.write("src/caf\xe9.tsv", "one\t- uno\n");
  const CliResult r = dir.run({"install", "src/caf\xe9.tsv"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(dir.installed("caf_.pvm")));
  const std::string list = dir.run({"dicts"}).out;
  EXPECT_NE(list.find("caf_.pvm  \""), std::string::npos) << list;
  EXPECT_NE(list.find("  1 word  "), std::string::npos) << list;
}

}  // namespace
}  // namespace lexora::test
