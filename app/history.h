#pragma once
// The history of the words looked up in this run: one root per dictionary slot that has had a
// word added (in the order the roots were made), under it the words of that dictionary, newest
// first and each at most once. Back and forward walk the working dictionary's words; a tap on a
// word shows it from the dictionary named by its root. The history lives in memory only.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/menu_commands.h"
#include "app/settings_schema.h"

namespace lexora {

// Told about every change, so that a tree view can mirror the history.
class HistoryListener {
 public:
  virtual ~HistoryListener() = default;
  virtual void rootAdded(int32_t slot, const std::u16string& title) = 0;  // appended at the end
  virtual void wordRemoved(int32_t slot, int row) = 0;
  virtual void wordInserted(int32_t slot, int row, const std::u16string& word) = 0;
  virtual void cleared() = 0;
};

// The window's side of the history. Empty functions do nothing (a missing findWord fails).
struct HistoryEffects {
  struct RootInfo {
    std::u16string title;
    uint32_t nodeData = 0;
  };
  std::function<RootInfo(int32_t slot)> rootInfo;
  // The list position of `word` in dictionary `slot`; nothing when the search fails.
  std::function<std::optional<uint32_t>(int32_t slot, const std::u16string& word)> findWord;
  std::function<void(uint32_t position, int32_t slot)> showEntry;
  std::function<void()> setShowInMainWindow;
  std::function<void()> showLookupError;  // the lookup error message box
  std::function<void(int command, ButtonState)> setButtonState;
};

class History {
 public:
  static constexpr int32_t kSlots = schema::kDictionarySlots;

  explicit History(HistoryEffects effects);

  // REQUIRES: the listener outlives the history or is replaced first; null removes it.
  void setListener(HistoryListener* listener) { listener_ = listener; }

  // Forgets every root and every position (when the dictionaries are opened at start-up).
  void clear();

  // Puts `word` first under the root of `slot`, making the root if needed and removing an
  // earlier copy of the word. A slot outside 0..9 is ignored.
  void addToHistory(const std::u16string& word, int32_t slot);

  // Shows the next older / newer word of the working dictionary's history. A working index of
  // -1 (or out of range), or a history with nowhere to go, does nothing.
  void back(int32_t workingIndex);
  void forward(int32_t workingIndex);

  // A tap on `word` under the root titled `rootTitle`: shows it from the first installed
  // dictionary with that title (titles: one per installed dictionary); none does nothing.
  // The history is not reordered.
  void tapWord(const std::u16string& rootTitle, const std::u16string& word,
               const std::vector<std::u16string>& installedTitles);

  // ---- Reading ----
  bool hasRoot(int32_t slot) const;
  // Slots in the order their roots were made.
  std::vector<int32_t> rootSlots() const;
  // REQUIRES: hasRoot(slot).
  const std::u16string& rootTitle(int32_t slot) const;
  uint32_t rootNodeData(int32_t slot) const;
  const std::vector<std::u16string>& words(int32_t slot) const;  // newest first
  // The row that back and forward last moved to in `slot`, or -1.
  int currentRow(int32_t slot) const;

 private:
  struct Root {
    int32_t slot = -1;
    std::u16string title;
    uint32_t nodeData = 0;
    std::vector<std::u16string> words;  // newest first
  };

  static bool validSlot(int32_t slot) { return slot >= 0 && slot < kSlots; }
  Root* rootOf(int32_t slot);
  // Searches the word at `target` in `slot` and shows it; false (after the error message) when
  // the search fails.
  bool showWord(int32_t slot, int target);
  void setButton(int command, ButtonState state) const;

  HistoryEffects effects_;
  HistoryListener* listener_ = nullptr;
  std::vector<Root> roots_;  // in the order they were made
  int rootIndex_[kSlots];    // index into roots_, or -1
  int current_[kSlots];      // a row of that root's words, or -1
};

}  // namespace lexora
