// The render and lookup commands, run as a user runs them.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status;
  std::string out;
};

class RenderCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lexora-render-cli-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ::setenv("LEXORA_REGISTRY", (dir_ / "registry.sqlite").c_str(), 1);
    data_ = (dir_ / "ev.pvm").string();
    ASSERT_EQ(run("create " + data_ + " --collation 1 --title 'English-Vietnamese'").status, 0);
    add("run",
        "@run|r\xca\x8cn|\r\n* verb\r\n- ch\xe1\xba\xa1y\r\n=$come here+\xc4\x91\xe1\xba\xbfn "
        "\xc4\x91\xc3\xa2y");
    add("cat", "@cat|k\xc3\xa6t|\r\n- a \"cat\"\\");
  }
  void TearDown() override { fs::remove_all(dir_); }

  void add(const std::string& word, const std::string& meaning) {
    const fs::path file = dir_ / "meaning.txt";
    std::ofstream(file, std::ios::binary) << meaning;
    ASSERT_EQ(run("add " + data_ + " " + word + " - < " + file.string()).status, 0);
  }

  CliRun run(const std::string& arguments) {
    const std::string command = std::string(LEXORA_CLI_PATH) + " " + arguments + " 2>/dev/null";
    CliRun r{-1, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
    const int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
  }

  fs::path dir_;
  std::string data_;
};

TEST_F(RenderCommandTest, PrintsThePageExactly) {
  const CliRun r = run("render " + data_ + " ' r\xcc\x81un ' --folder /pics/");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(
      r.out,
      "<html><body BGCOLOR=\"#ffffff\"><font color=\"#000000\"><B>run</B></font>/"
      "<font face=\"Lucida Sans Unicode\" color=#ff00ff>r\xca\x8cn</font>/<br>"
      "<font color=\"#ff0000\"><I><B><p "
      "style=\"margin-top:0em;margin-bottom:0em;margin-left:0em;\">"
      "<img src=\"file:///pics/word.gif\"> verb</B></I></font></P>"
      "<font color=\"#000000\"><p style=\"margin-top:0em;margin-bottom:0em;margin-left:0.7em;\">"
      "<img src=\"file:///pics/meaning.gif\"> ch\xe1\xba\xa1y</font></P>"
      "<font color=\"#000000\"><p style=\"margin-top:0em;margin-bottom:0em;margin-left:1.4em;\">"
      "<a href=\"come\">come</a> <a href=\"here\">here</a><br>\xc4\x91\xe1\xba\xbfn "
      "\xc4\x91\xc3\xa2y"
      "</font></p></body></html>");
}

TEST_F(RenderCommandTest, StrictAndNearest) {
  EXPECT_EQ(run("render " + data_ + " dog --strict").status, 3);
  EXPECT_EQ(run("render " + data_ + " dog --strict").out, "");
  const CliRun nearest = run("render " + data_ + " dog --folder /p/");
  EXPECT_EQ(nearest.status, 0);
  EXPECT_NE(nearest.out.find("<B>run</B>"), std::string::npos);
  EXPECT_EQ(run("render " + data_).status, 2);
  EXPECT_EQ(run("render " + (dir_ / "missing.pvm").string() + " x").status, 1);
}

TEST_F(RenderCommandTest, JsonEscapesAndPages) {
  const CliRun r = run("render " + data_ + " cat --json --folder /p/");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\"position\":0,\"sign\":0,\"headword\":\"cat\""), std::string::npos);
  EXPECT_NE(r.out.find("a \\\"cat\\\"\\\\</font></P>"), std::string::npos);
  EXPECT_NE(r.out.find("\"popup_pages\":[\"<html>"), std::string::npos);
  EXPECT_EQ(r.out.find('\n'), r.out.size() - 1);  // one line: raw CR LF never reaches it
}

TEST_F(RenderCommandTest, LookupPlainTextAndBatch) {
  const CliRun r = run("lookup " + data_ + " cat");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "English-Vietnamese\ncat /k\xc3\xa6t/\n  1. a \"cat\"\\\n\n");
  const fs::path words = dir_ / "words.txt";
  std::ofstream(words) << "cat\n\ndog\r\nrun\n";
  const CliRun batch = run("lookup " + data_ + " - --json < " + words.string());
  EXPECT_EQ(batch.status, 3);  // "dog" is in no dictionary
  size_t lines = 0;
  for (char c : batch.out) lines += c == '\n';
  EXPECT_EQ(lines, 3u);
  EXPECT_NE(batch.out.find("{\"word\":\"dog\",\"results\":[{\"dictionary\":\"English-Vietnamese\""),
            std::string::npos);
  EXPECT_NE(batch.out.find("\"kind\":\"example\",\"text\":\"come here\",\"translation\":"),
            std::string::npos);
}

}  // namespace
