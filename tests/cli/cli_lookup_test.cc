// lookup over several installed dictionaries as a user of a terminal dictionary runs it: the
// dictionaries that hold the word, one line for the rest, -d to pick some by name, a forgotten
// word, and folding to the terminal's width.

#include <gtest/gtest.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/cli_folder.h"

namespace lexora::test {
namespace {

class CliLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("LEXORA_REGISTRY", dir_.file("registry.sqlite").c_str(), 1);
    install("gcide.tsv",
            "ransom\t@ransom\\r\\n- money paid to set a captive free, as the "
            "price asked by those who hold him\n",
            "Collaborative English");
    install("wn.tsv", "random\t@random\\r\\n- by chance\n", "WordNet");
    install("jargon.tsv", "hack\t@hack\\r\\n- a quick job\n", "Jargon File");
  }
  void TearDown() override { ::unsetenv("LEXORA_REGISTRY"); }

  void install(const std::string& tsv, const std::string& text, const std::string& title) {
    dir_.write(tsv, text);
    const std::string data = tsv.substr(0, tsv.find('.')) + ".pvm";
    ASSERT_EQ(dir_.run({"import", "tsv", tsv, data, "--title", title}).status, 0);
    ASSERT_EQ(dir_.run({"dicts", "add", data}).status, 0);
  }

  // lookup with stdout on a terminal `columns` wide; the terminal's CR LF read back as LF.
  std::string onTerminal(std::vector<std::string> args, unsigned short columns) {
    const std::string folder = dir_.file(".");
    winsize size{};
    size.ws_col = columns;
    size.ws_row = 24;
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, &size);
    if (child == 0) {
      std::vector<char*> argv{const_cast<char*>(LEXORA_CLI_PATH)};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::setenv("NO_COLOR", "1", 1);
      if (::chdir(folder.c_str()) != 0) ::_exit(126);
      ::execv(LEXORA_CLI_PATH, argv.data());
      ::_exit(127);
    }
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    ::close(master);
    ::waitpid(child, nullptr, 0);
    std::erase(out, '\r');
    return out;
  }

  CliFolder dir_;
};

TEST_F(CliLookupTest, ShowsTheDictionariesThatHoldTheWordAndSumsUpTheRest) {
  const CliResult r = dir_.run({"lookup", "ransom"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Collaborative English\nransom\n  1. money", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\nnot in 2 other dictionaries\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("No entry"), std::string::npos);

  const CliResult all = dir_.run({"lookup", "ransom", "--all"});
  EXPECT_NE(all.out.find("WordNet\nNo entry for \"ransom\"; nearest is"), std::string::npos);
  EXPECT_NE(all.out.find("Jargon File\nNo entry for \"ransom\""), std::string::npos);

  const CliResult none = dir_.run({"lookup", "zebra"});
  EXPECT_EQ(none.status, 3);
  EXPECT_EQ(none.out.rfind("No entry for \"zebra\" in 3 dictionaries.\n", 0), 0u) << none.out;
}

TEST_F(CliLookupTest, DashDPicksInstalledDictionariesByTitleOrFileName) {
  const CliResult title = dir_.run({"lookup", "-d", "wordnet", "ransom"});
  EXPECT_EQ(title.status, 3);  // WordNet alone has no "ransom"
  EXPECT_EQ(title.out.rfind("WordNet\nNo entry", 0), 0u) << title.out;
  const CliResult both = dir_.run({"lookup", "-d", "GCIDE", "-d", "jarg", "hack"});
  EXPECT_EQ(both.status, 0);
  EXPECT_EQ(both.out.rfind("Jargon File\nhack\n", 0), 0u) << both.out;
  EXPECT_NE(both.out.find("not in 1 other dictionary\n"), std::string::npos);
  EXPECT_EQ(both.out.find("WordNet"), std::string::npos);

  EXPECT_EQ(dir_.run({"lookup", "-d", "nothing-like-it", "hack"}).status, 2);
  EXPECT_EQ(dir_.run({"lookup", "hack", "-d"}).status, 2);
}

TEST_F(CliLookupTest, AForgottenWordIsAUsageError) {
  const CliResult r = dir_.run({"lookup", "jargon.pvm"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("word to look up is missing"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(CliLookupTest, FoldsToTheTerminalWidthButNotIntoAPipe) {
  const std::string folded = onTerminal({"lookup", "gcide.pvm", "ransom"}, 30);
  EXPECT_NE(folded.find("  1. money paid to set a\n     captive free, as the\n     price"),
            std::string::npos)
      << folded;
  const std::string wide = onTerminal({"lookup", "gcide.pvm", "ransom", "--no-wrap"}, 30);
  EXPECT_NE(wide.find("  1. money paid to set a captive free, as the price asked"),
            std::string::npos)
      << wide;
  EXPECT_NE(dir_.run({"lookup", "gcide.pvm", "ransom"}).out.find("a captive free, as the price"),
            std::string::npos);
}

}  // namespace
}  // namespace lexora::test
