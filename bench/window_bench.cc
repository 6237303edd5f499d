// The main window under load (run with QT_QPA_PLATFORM=offscreen; bench/compare-fulltext.sh
// runs both modes):
//   lexora_window_bench keys FOLDER [KEYS]
//     per keystroke in the word box of a window over a 1,000,000-word dictionary (made once in
//     FOLDER): the time from the key press to the word list showing the new row (QTest key
//     events, then the events they cause, painting included); median and 99th percentile,
//     first while the window builds that dictionary's indexes in the background (they are
//     removed before each run), then once they are built.
//   lexora_window_bench miss DATA [ROUNDS]
//     with word help (Hunspell, word lists, suggestions), the time from asking for a lookup to
//     its page shown: the first misspelled lookup after the window's start against an exact
//     one, and both again (medians of ROUNDS).
//   lexora_window_bench start DATA...
//     the time from creating the window over the given installed dictionaries to the window
//     shown and painted (peak memory: run it under /usr/bin/time).

#include <time.h>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/word_help.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "engine/file_format.h"
#include "gui/main_window/lexora_dialog.h"
#include "gui/main_window/meaning_search_dock.h"
#include "gui/widgets/html_viewer.h"
#include "util/standard_utf8.h"

namespace {

using namespace lexora;
using Clock = std::chrono::steady_clock;

std::array<Dictionary, 10> dictionarySlots;
int32_t working = -1;
int32_t reverse = -1;
int32_t total = 0;
std::vector<std::string> paths;

std::unique_ptr<LexoraDialog> openWindow(std::shared_ptr<WordHelp> help = nullptr) {
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
  services.wordHelp = std::move(help);
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

// Per keystroke, in microseconds: the wall time, and the window's thread's CPU time (its own
// work, without waiting for a lock or for a core).
struct Keystrokes {
  std::vector<double> wall;
  std::vector<double> cpu;
};

double threadMicros() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Types random words of the list, a key at a time, while `more` holds, up to count keys.
Keystrokes type(LexoraDialog& window, const std::vector<std::string>& words, std::mt19937& random,
                int count, const std::function<bool()>& more) {
  Keystrokes keys;
  while (static_cast<int>(keys.wall.size()) < count && more()) {
    window.wordBox()->clear();
    QCoreApplication::processEvents();
    const std::string& word = words[random() % words.size()];
    for (char c : word) {
      const auto start = Clock::now();
      const double cpu = threadMicros();
      QTest::keyClick(window.wordBox(), c);
      QCoreApplication::processEvents();  // the list's repaint of the new row
      keys.wall.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
      keys.cpu.push_back(threadMicros() - cpu);
    }
  }
  return keys;
}

void report(const char* when, Keystrokes keys) {
  if (keys.wall.empty()) return static_cast<void>(std::printf("per keystroke %s: none\n", when));
  std::sort(keys.wall.begin(), keys.wall.end());
  std::sort(keys.cpu.begin(), keys.cpu.end());
  const size_t n = keys.wall.size();
  std::printf(
      "per keystroke %s (%zu keys): median %.0f us, 99th percentile %.0f us, most %.0f us; "
      "the window's CPU: median %.0f us, 99th percentile %.0f us, most %.0f us\n",
      when, n, keys.wall[n / 2], keys.wall[n * 99 / 100], keys.wall.back(), keys.cpu[n / 2],
      keys.cpu[n * 99 / 100], keys.cpu.back());
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
  const FileSetNames names = fileSetNames(data);
  std::filesystem::remove(names.fullTextFile);
  std::filesystem::remove(names.suggestionFile);
  paths = {data};
  auto window = openWindow();
  window->setViewMode(kWordListPane);
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return 1;
  std::printf("dictionary: %u words\n", dictionarySlots[0].wordCount());
  // The first opening builds the indexes in the background, reading the dictionary that the
  // keystrokes search meanwhile.
  std::mt19937 random(7);
  const auto indexing = Clock::now();
  Keystrokes during =
      type(*window, words, random, count, [&] { return window->searchDock()->busy(); });
  if (!QTest::qWaitFor([&] { return !window->searchDock()->busy(); }, 3600000)) return 1;
  std::printf("background indexes ready after %.1f s\n",
              std::chrono::duration<double>(Clock::now() - indexing).count());
  Keystrokes after = type(*window, words, random, count, [] { return true; });
  report("while the indexes are built", during);
  report("after", after);
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

// The process's CPU time (every thread's), in milliseconds.
double cpuMillis() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// From asking for a lookup to its page shown: wall and CPU milliseconds.
struct Cost {
  double wall = 0;
  double cpu = 0;
};

Cost timedLookup(LexoraDialog& window, const std::u16string& word) {
  const auto begin = Clock::now();
  const double cpu = cpuMillis();
  window.lookupWord(word, 0);
  // Looked at every millisecond from the event loop (QTest's waiting sleeps 10 ms at a time).
  QEventLoop loop;
  QTimer look;
  look.setInterval(1);
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (!window.lookupsBusy()) loop.quit();
  });
  look.start();
  loop.exec();
  QCoreApplication::processEvents();
  return {std::chrono::duration<double, std::milli>(Clock::now() - begin).count(),
          cpuMillis() - cpu};
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

int miss(const std::string& data, int rounds) {
  paths = {data};
  const std::string indexes = std::filesystem::temp_directory_path() / "lexora-bench-indexes";
  auto window = openWindow(std::make_shared<WordHelp>(WordHelp::Places{nullptr, indexes}));
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return 1;
  // What the lookup thread loads at the start (language, Hunspell, word lists, suggestions).
  const auto begin = Clock::now();
  if (!QTest::qWaitFor([&] { return !window->lookupsBusy() && !window->searchDock()->busy(); },
                       60000))
    return 1;
  std::printf("word help ready %.1f ms after the window\n",
              std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
  // The window's first page costs more than any later one (pictures, fonts): an exact lookup
  // comes first, so that the first miss is compared with a page like its own.
  const Cost firstExact = timedLookup(*window, u"running");
  const Cost firstMiss = timedLookup(*window, u"runing");
  const bool suggested = window->viewer()->page().contains("running", Qt::CaseInsensitive);
  std::vector<double> exact[2];
  std::vector<double> misses[2];
  for (int i = 0; i < rounds; ++i) {
    const Cost e = timedLookup(*window, u"running");
    const Cost m = timedLookup(*window, i % 2 == 0 ? u"runing" : u"swiftyl");
    exact[0].push_back(e.wall);
    exact[1].push_back(e.cpu);
    misses[0].push_back(m.wall);
    misses[1].push_back(m.cpu);
  }
  std::printf(
      "first exact lookup %.2f ms (CPU %.2f ms); first misspelled lookup %.2f ms (CPU "
      "%.2f ms, suggests running: %s)\n",
      firstExact.wall, firstExact.cpu, firstMiss.wall, firstMiss.cpu, suggested ? "yes" : "no");
  std::printf(
      "medians of %d: exact %.2f ms (CPU %.2f ms), misspelled %.2f ms (CPU %.2f ms); "
      "first miss / exact: %.2f (CPU %.2f)\n",
      rounds, median(exact[0]), median(exact[1]), median(misses[0]), median(misses[1]),
      firstMiss.wall / median(exact[0]), firstMiss.cpu / median(exact[1]));
  window.reset();
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
  if (args.size() >= 2 && args[0] == "miss") {
    return miss(args[1], args.size() > 2 ? std::stoi(args[2]) : 9);
  }
  std::fprintf(stderr,
               "usage: lexora_window_bench keys FOLDER [KEYS] | start DATA... | miss DATA "
               "[ROUNDS]\n");
  return 2;
}
