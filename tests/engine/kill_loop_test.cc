// Real processes killed at random moments: a child changes a dictionary in a loop and is
// killed with SIGKILL; afterwards every change it reported Ok reads back, and the change it
// was making when it died is either whole or absent.
//
// LEXORA_KILL_ROUNDS sets the number of kills (200 by default; thousands for a manual run).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/journal.h"
#include "engine_test_support.h"
#include "tests/support/status_assertions.h"
#include "util/utf8_codec.h"

namespace lexora {
namespace {

using Model = std::map<std::u16string, std::u16string>;

std::u16string decoded(const std::string& bytes) {
  return utf8Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()).value();
}

std::u16string meaningFor(uint32_t seed) {
  std::mt19937 random(seed);
  // Mostly short meanings; now and then one that fills most of a block.
  const size_t length = random() % 10 == 0 ? 20000 + random() % 30000 : 1 + random() % 2000;
  std::u16string text;
  text.reserve(length);
  while (text.size() < length) {
    const uint32_t r = random() % 28;
    text += r < 26 ? char16_t(u'a' + r) : r == 26 ? u' ' : u'\u0111';
  }
  return text;
}

std::u16string wordFor(uint32_t round, uint32_t i) {
  return u"k" + decoded(std::to_string(round) + "_" + std::to_string(i));
}

void say(int fd, const std::string& line) {
  const std::string text = line + "\n";
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) ::_exit(3);
    done += static_cast<size_t>(n);
  }
}

// The child: changes the dictionary until it is killed, telling the parent what it starts
// ("B ...") and what it finished with Ok ("K") or without ("F").
[[noreturn]] void changeForever(const std::string& dataFile, uint32_t round, int fd) {
  Dictionary d;
  if (!d.openDictionary(dataFile).isOk()) ::_exit(2);
  std::mt19937 random(round * 7919 + 1);
  for (uint32_t i = 0;; ++i) {
    const uint32_t count = d.wordCount();
    const uint32_t seed = round * 100000 + i;
    const uint32_t pick = random() % 10;
    std::vector<std::u16string> words;
    EditStatus done;
    if (count == 0 || pick < 4 || (count < 30 && pick < 6)) {
      const std::u16string w = wordFor(round, i);
      say(fd, "B add " + utf8Encode(w) + " " + std::to_string(seed));
      done = d.addEntry(w, meaningFor(seed));
    } else {
      const uint32_t index = random() % count;
      if (!d.readWords(index, 1, words).isOk()) ::_exit(4);
      const std::string w = utf8Encode(words[0]);
      if (pick < 7) {
        say(fd, "B mod " + w + " " + std::to_string(seed));
        done = d.modifyMeaning(index, meaningFor(seed));
      } else if (pick < 8) {
        const std::u16string to = wordFor(round, i);
        say(fd, "B ren " + w + " " + utf8Encode(to));
        uint32_t moved = index;
        done = d.modifyWord(moved, to);
      } else {
        say(fd, "B del " + w);
        done = d.deleteEntry(index);
      }
    }
    say(fd, done.isOk() ? "K" : "F " + done.message());
  }
}

// Applies one change the child started to the model.
void applyChange(Model& model, const std::string& change) {
  std::istringstream in(change);
  std::string b, op, word, arg;
  in >> b >> op >> word >> arg;
  const std::u16string w = decoded(word);
  if (op == "add" || op == "mod") {
    model[w] = meaningFor(static_cast<uint32_t>(std::stoul(arg)));
  } else if (op == "ren") {
    std::u16string meaning = model[w];
    model.erase(w);
    model[decoded(arg)] = meaning;
  } else if (op == "del") {
    model.erase(w);
  }
}

Model readAll(const std::string& dataFile, std::string& error) {
  Model all;
  Dictionary d;
  if (Status s = d.openDictionary(dataFile); !s.isOk()) {
    error = s.message();
    return all;
  }
  for (uint32_t i = 0; i < d.wordCount(); ++i) {
    std::vector<std::u16string> words;
    std::u16string meaning;
    Status s = d.readWords(i, 1, words);
    if (s.isOk()) s = d.readMeaning(i, meaning);
    if (!s.isOk()) {
      error = "entry " + std::to_string(i) + " does not read: " + s.message();
      return all;
    }
    all[words[0]] = meaning;
  }
  return all;
}

TEST(KillLoop, EveryChangeReportedOkSurvivesSigkill) {
  const char* env = std::getenv("LEXORA_KILL_ROUNDS");
  const int rounds = env != nullptr ? std::atoi(env) : 200;
  test::ScratchDir dir;
  std::mt19937 random(12345);
  std::string dataFile;
  Model model;
  int midChange = 0, changesOk = 0, rolledBack = 0, journalsFound = 0;
  for (int round = 0; round < rounds; ++round) {
    // A fresh dictionary now and then, before the append-only data file fills its block table.
    if (round % 150 == 0) {
      dataFile = dir.file("kill" + std::to_string(round) + ".pvm");
      Dictionary d;
      ASSERT_OK(d.createDictionary(dataFile, round % 4 == 3 ? 9 : round % 3));
      model.clear();
    }
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(pipeFds[0]);
      changeForever(dataFile, static_cast<uint32_t>(round), pipeFds[1]);
    }
    ::close(pipeFds[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 120000));
    ::kill(child, SIGKILL);
    std::string said;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;

    std::istringstream lines(said);
    std::string line, started;
    while (std::getline(lines, line)) {
      if (line.rfind("B ", 0) == 0) {
        started = line;
      } else if (line == "K") {
        applyChange(model, started);
        ++changesOk;
        started.clear();
      } else if (line.rfind("F", 0) == 0) {
        ADD_FAILURE() << "a change failed without a fault: " << started << ": " << line;
        started.clear();
      }
    }
    if (std::filesystem::exists(journalName(dataFile))) ++journalsFound;
    std::string error;
    const Model now = readAll(dataFile, error);
    ASSERT_TRUE(error.empty()) << "round " << round << ": " << error;
    ASSERT_FALSE(std::filesystem::exists(journalName(dataFile)));
    if (now == model) {
      if (!started.empty()) ++rolledBack;
      continue;
    }
    ASSERT_FALSE(started.empty()) << "round " << round << ": the dictionary lost a change";
    Model with = model;
    applyChange(with, started);
    ASSERT_TRUE(now == with) << "round " << round << ": neither before nor after " << started;
    model = with;
    ++midChange;
  }
  std::printf(
      "%d kills, %d changes reported Ok, %d killed in the middle of a write (journal "
      "rolled back at opening), %d killed changes found whole, %d absent; nothing lost\n",
      rounds, changesOk, journalsFound, midChange, rolledBack);
}

}  // namespace
}  // namespace lexora
