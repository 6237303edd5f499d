// The main window under load (run with QT_QPA_PLATFORM=offscreen; bench/compare-fulltext.sh
// runs both modes):
//   lexora_window_bench keys FOLDER [KEYS]
//     per keystroke in the word box of a window over a 1,000,000-word dictionary (made once in
//     FOLDER): the time from the key press to the word list showing the new row (QTest key
//     events, then the events they cause, painting included); median and 99th percentile.
//   lexora_window_bench start DATA...
//     the time from creating the window over the given installed dictionaries to the window
//     shown and painted (peak memory: run it under /usr/bin/time).

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "gui/main_window/lexora_dialog.h"
#include "gui/main_window/meaning_search_dock.h"
#include "util/standard_utf8.h"

namespace {

using namespace lexora;
using Clock = std::chrono::steady_clock;

std::array<Dictionary, 10> dictionarySlots;
int32_t working = -1;
int32_t reverse = -1;
int32_t total = 0;
std::vector<std::string> paths;

std::unique_ptr<LexoraDialog> openWindow() {
  WindowState state;
  state.dictionaries = dictionarySlots;
  state.workingDictIndex = &working;
  state.reverseDictIndex = &reverse;
  state.totalDict = &total;
  total = static_cast<int32_t>(paths.size());
  state.dictionaryPath = [](int32_t k) {
    return k >= 0 && static_cast<size_t>(k) < paths.size() ? paths[static_cast<size_t>(k)]
                                                           : std::string();
  };
  WindowServices services;
  services.listenForHandOff = false;
  return std::make_unique<LexoraDialog>(state, services);
}

std::string syllableWord(std::mt19937& random) {
  static const char* const kParts[] = {"ba", "ke", "lo", "mi", "nu", "ra", "se", "ti", "vo", "zen",
                                       "or", "al", "in", "st", "pr", "qu", "ch", "th", "ex", "um"};
  std::string word;
  for (int n = 5 + static_cast<int>(random() % 4); n > 0; --n) word += kParts[random() % 20];
  return word;
}

std::vector<std::string> millionWords() {
  std::mt19937 random(1000000);
  std::vector<std::string> words;
  words.reserve(1200000);
  while (words.size() < 1200000) words.push_back(syllableWord(random));
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  words.resize(std::min<size_t>(words.size(), 1000000));
  return words;
}

int keys(const std::string& folder, int count) {
  const std::string data = folder + "/million.pvm";
  const std::vector<std::string> words = millionWords();
  if (!std::filesystem::exists(data)) {
    DictionaryBuilder builder(1);
    for (const std::string& w : words) builder.add(fromUtf8(w), u"- " + fromUtf8(w));
    if (!builder.finish(data).isOk())
      return std::fprintf(stderr, "cannot write %s\n", data.c_str()), 1;
  }
  paths = {data};
  auto window = openWindow();
  window->setViewMode(kWordListPane);
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return 1;
  std::printf("dictionary: %u words\n", dictionarySlots[0].wordCount());
  // The first opening builds its indexes in the background; keystrokes are timed after that
  // (during it they share the dictionary with the build, see bench/README.md).
  const auto indexing = Clock::now();
  if (!QTest::qWaitFor([&] { return !window->searchDock()->busy(); }, 3600000)) return 1;
  std::printf("background indexes ready after %.1f s\n",
              std::chrono::duration<double>(Clock::now() - indexing).count());
  std::mt19937 random(7);
  std::vector<double> micros;
  while (static_cast<int>(micros.size()) < count) {
    window->wordBox()->clear();
    QCoreApplication::processEvents();
    const std::string& word = words[random() % words.size()];
    for (char c : word) {
      const auto start = Clock::now();
      QTest::keyClick(window->wordBox(), c);
      QCoreApplication::processEvents();  // the list's repaint of the new row
      micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
  }
  std::sort(micros.begin(), micros.end());
  std::printf("per keystroke (%zu keys): median %.0f us, 99th percentile %.0f us\n", micros.size(),
              micros[micros.size() / 2], micros[micros.size() * 99 / 100]);
  return 0;
}

int start(const std::vector<std::string>& data) {
  paths = data;
  const auto begin = Clock::now();
  auto window = openWindow();
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return 1;
  QCoreApplication::processEvents();
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
  std::printf("window over %zu dictionaries shown in %.1f ms\n", data.size(), ms);
  window.reset();  // its background index work ends here
  for (Dictionary& d : dictionarySlots) d.closeDictionary();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "keys") {
    return keys(args[1], args.size() > 2 ? std::stoi(args[2]) : 2000);
  }
  if (args.size() >= 2 && args[0] == "start") return start({args.begin() + 1, args.end()});
  std::fprintf(stderr, "usage: lexora_window_bench keys FOLDER [KEYS] | start DATA...\n");
  return 2;
}
