#include "app/settings_merge.h"

#include <algorithm>
#include <vector>

#include "app/dictionary_list.h"
#include "app/settings_schema.h"

namespace lexora {
namespace {

using namespace schema;

template <typename T>
void take(T& stored, const T& loaded, const T& current) {
  if (!(current == loaded)) stored = current;
}

bool contains(const std::vector<std::u16string>& paths, const std::u16string& path) {
  return std::find(paths.begin(), paths.end(), path) != paths.end();
}

std::u16string pathAt(const Settings& s, int32_t slot) {
  return slot >= 0 && slot < s.totalDict && slot < kMaxDictionaries ? s.dictionaryPaths[slot]
                                                                    : std::u16string();
}

// The slot of the path chosen by `pick` in the merged list; -1 when it is not there.
int32_t slotOf(const std::vector<std::u16string>& paths, const std::u16string& path) {
  if (path.empty()) return -1;
  const auto it = std::find(paths.begin(), paths.end(), path);
  return it == paths.end() ? -1 : static_cast<int32_t>(it - paths.begin());
}

void mergeInstalledList(const Settings& loaded, const Settings& current, Settings& merged) {
  const std::vector<std::u16string> before = installedDictionaryPaths(loaded);
  const std::vector<std::u16string> mine = installedDictionaryPaths(current);
  const std::vector<std::u16string> theirs = installedDictionaryPaths(merged);
  if (mine == before) return;  // this run changed nothing in the list
  std::vector<std::u16string> paths;
  for (const std::u16string& p : mine) {
    // Kept unless another program removed it while this run left it alone.
    if (contains(theirs, p) || !contains(before, p)) paths.push_back(p);
  }
  for (const std::u16string& p : theirs) {
    if (!contains(before, p) && !contains(paths, p)) paths.push_back(p);
  }
  if (paths.size() > static_cast<size_t>(kMaxDictionaries)) paths.resize(kMaxDictionaries);
  setInstalledDictionaryPaths(merged, paths);
}

}  // namespace

Settings mergedSettings(const Settings& loaded, const Settings& current, const Settings& stored) {
  Settings merged = stored;
  const std::u16string working[3] = {pathAt(loaded, loaded.workingDictIndex),
                                     pathAt(current, current.workingDictIndex),
                                     pathAt(stored, stored.workingDictIndex)};
  const std::u16string reverse[3] = {pathAt(loaded, loaded.reverseDictIndex),
                                     pathAt(current, current.reverseDictIndex),
                                     pathAt(stored, stored.reverseDictIndex)};
  mergeInstalledList(loaded, current, merged);
  const std::vector<std::u16string> paths = installedDictionaryPaths(merged);
  merged.workingDictIndex = slotOf(paths, working[1] != working[0] ? working[1] : working[2]);
  merged.reverseDictIndex = slotOf(paths, reverse[1] != reverse[0] ? reverse[1] : reverse[2]);

  take(merged.showLookupButton, loaded.showLookupButton, current.showLookupButton);
  take(merged.showIndexAtStarting, loaded.showIndexAtStarting, current.showIndexAtStarting);
  DisplaySettings& d = merged.display;
  const DisplaySettings& was = loaded.display;
  const DisplaySettings& now = current.display;
  take(d.textSize, was.textSize, now.textSize);
  take(d.useClearType, was.useClearType, now.useClearType);
  take(d.time2Show, was.time2Show, now.time2Show);
  for (int i = 0; i < kStyleCount; ++i) take(d.styles[i], was.styles[i], now.styles[i]);
  take(d.useTexture, was.useTexture, now.useTexture);
  take(d.texturePath, was.texturePath, now.texturePath);
  take(d.backColor, was.backColor, now.backColor);
  return merged;
}

Settings saveSettingsChanges(RegistryKey& key, const Settings& loaded, const Settings& current) {
  Settings stored;
  loadSettings(key, stored);
  Settings merged = mergedSettings(loaded, current, stored);
  if (!(merged == stored)) saveSettings(key, merged);
  return merged;
}

bool takeInstalledListFromStore(RegistryKey& key, Settings& current, Settings& loaded) {
  Settings stored;
  loadSettings(key, stored);
  if (installedDictionaryPaths(stored) == installedDictionaryPaths(loaded)) return false;
  const Settings merged = mergedSettings(loaded, current, stored);
  for (Settings* s : {&current, &loaded}) {
    const Settings& from = s == &current ? merged : stored;
    s->totalDict = from.totalDict;
    s->dictionaryPaths = from.dictionaryPaths;
    s->workingDictIndex = from.workingDictIndex;
    s->reverseDictIndex = from.reverseDictIndex;
  }
  return true;
}

}  // namespace lexora
