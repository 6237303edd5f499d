// lookup with base forms and suggestions, the language command and full-text search, through
// the built lexora-cli with a Hunspell dictionary and a settings store of the test's own.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>

#include "tests/support/cli_folder.h"
#include "tests/support/small_hunspell.h"

namespace lexora::test {
namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvironmentValue {
 public:
  EnvironmentValue(const char* name, const std::string& value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~EnvironmentValue() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class CliWordHelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeSmallHunspell(hunspell_);
    dir_.write("words.tsv",
               "run\t@run\\r\\n* verb\\r\\n- to move swiftly\n"
               "Running\t@Running\\r\\n- a race\n"
               "ruling\t@ruling\\r\\n- a decision\n"
               "study\t@study\\r\\n- to learn; see also $run$\n");
    ASSERT_EQ(dir_.run({"import", "tsv", "words.tsv", "d.pvm", "--title", "English words"}).status,
              0);
  }

  ScratchDir hunspell_;
  CliFolder dir_;
  EnvironmentValue registry_{"LEXORA_REGISTRY", dir_.file("registry.sqlite")};
  EnvironmentValue hunspellPath_{"LEXORA_HUNSPELL_PATH", hunspell_.path()};
};

TEST_F(CliWordHelpTest, LookupShowsTheBaseFormAndSaysSo) {
  const CliResult r = dir_.run({"lookup", "d.pvm", "studies"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("English words\nstudies \u2192 study\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("to learn"), std::string::npos);

  const CliResult json = dir_.run({"lookup", "d.pvm", "studies", "--json"});
  EXPECT_NE(json.out.find("\"exact\":false,\"form_of\":\"studies\",\"headword\":\"study\""),
            std::string::npos)
      << json.out;

  const CliResult off = dir_.run({"lookup", "d.pvm", "studies", "--language", "none"});
  EXPECT_EQ(off.status, 3);
  EXPECT_EQ(off.out.find("\u2192"), std::string::npos);
  EXPECT_EQ(dir_.run({"lookup", "d.pvm", "studies", "--language", "e/n"}).status, 2);
}

TEST_F(CliWordHelpTest, AMissNamesSuggestions) {
  const CliResult r = dir_.run({"lookup", "d.pvm", "runing"});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out,
            "English words\nNo entry for \"runing\"; nearest is \"run\".\n"
            "Did you mean: Running, ruling\n\n");
  const CliResult json = dir_.run({"lookup", "d.pvm", "runing", "--json"});
  EXPECT_NE(json.out.find("\"exact\":false,\"suggestions\":[\"Running\",\"ruling\"]"),
            std::string::npos)
      << json.out;
  const CliResult exact = dir_.run({"lookup", "d.pvm", "run", "--json"});
  EXPECT_EQ(exact.out.find("suggestions"), std::string::npos);
  EXPECT_EQ(exact.out.find("form_of"), std::string::npos);
}

TEST_F(CliWordHelpTest, TheLanguageIsGuessedStoredAndOverridden) {
  EXPECT_EQ(dir_.run({"language", "d.pvm"}).out, "en (Hunspell en_US)\n");
  EXPECT_EQ(dir_.run({"language", "d.pvm", "fr"}).out, "fr (no Hunspell dictionary)\n");
  EXPECT_EQ(dir_.run({"lookup", "d.pvm", "studies"}).status, 3);  // no French word forms
  EXPECT_EQ(dir_.run({"language", "d.pvm", "none"}).out, "none\n");
  EXPECT_EQ(dir_.run({"language", "d.pvm", "auto"}).out, "en (Hunspell en_US)\n");
  EXPECT_EQ(dir_.run({"language", "d.pvm", "x y"}).status, 2);
  EXPECT_EQ(dir_.run({"language", "missing.pvm"}).status, 1);
}

TEST_F(CliWordHelpTest, SearchFindsMeaningsWithTheirLines) {
  EXPECT_EQ(dir_.run({"search", "MOVE swift", "d.pvm"}).out,
            "English words\nrun: to move swiftly\n\n");
  const CliResult regex = dir_.run({"search", "(race|decision)$", "d.pvm", "--regex"});
  EXPECT_EQ(regex.out, "English words\nruling: a decision\nRunning: a race\n\n");
  EXPECT_EQ(dir_.run({"search", "nothing like this", "d.pvm"}).status, 3);
  EXPECT_EQ(dir_.run({"search", "(", "d.pvm", "--regex"}).status, 2);
  EXPECT_EQ(dir_.run({"search", "x", "missing.pvm"}).status, 1);
  // Without DATA: the installed dictionaries.
  ASSERT_EQ(dir_.run({"dicts", "add", "d.pvm"}).status, 0);
  EXPECT_EQ(dir_.run({"search", "learn"}).out, "English words\nstudy: to learn; see also run\n\n");
}

}  // namespace
}  // namespace lexora::test
