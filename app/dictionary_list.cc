#include "app/dictionary_list.h"

#include <algorithm>
#include <utility>

namespace lexora {

namespace {

int boundedCount(const Settings& settings) {
  return std::clamp(settings.totalDict, 0, kMaxDictionaries);
}

}  // namespace

std::vector<std::u16string> installedDictionaryPaths(const Settings& settings) {
  const int count = boundedCount(settings);
  return std::vector<std::u16string>(settings.dictionaryPaths.begin(),
                                     settings.dictionaryPaths.begin() + count);
}

bool setInstalledDictionaryPaths(Settings& settings, const std::vector<std::u16string>& paths) {
  if (paths.size() > static_cast<size_t>(kMaxDictionaries)) return false;
  for (size_t k = 0; k < settings.dictionaryPaths.size(); ++k) {
    settings.dictionaryPaths[k] = k < paths.size() ? paths[k] : std::u16string();
  }
  settings.totalDict = static_cast<int32_t>(paths.size());
  return true;
}

bool appendDictionaryPath(Settings& settings, std::u16string path) {
  const int count = boundedCount(settings);
  if (count >= kMaxDictionaries) return false;
  settings.dictionaryPaths[static_cast<size_t>(count)] = std::move(path);
  settings.totalDict = count + 1;
  return true;
}

void removeDictionaryPath(Settings& settings, int slot) {
  const int count = boundedCount(settings);
  if (slot < 0 || slot >= count) return;
  for (int k = slot; k + 1 < count; ++k) {
    settings.dictionaryPaths[static_cast<size_t>(k)] =
        std::move(settings.dictionaryPaths[static_cast<size_t>(k) + 1]);
  }
  settings.totalDict = count - 1;
  settings.dictionaryPaths[static_cast<size_t>(count) - 1].clear();
}

void moveDictionaryPath(Settings& settings, int from, int to) {
  const int count = boundedCount(settings);
  if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  auto first = settings.dictionaryPaths.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else {
    std::rotate(first + to, first + from, first + from + 1);
  }
}

}  // namespace lexora
