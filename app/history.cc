#include "app/history.h"

#include <utility>

namespace lexora {

History::History(HistoryEffects effects) : effects_(std::move(effects)) {
  for (int32_t k = 0; k < kSlots; ++k) {
    rootIndex_[k] = -1;
    current_[k] = -1;
  }
}

void History::clear() {
  roots_.clear();
  for (int32_t k = 0; k < kSlots; ++k) {
    rootIndex_[k] = -1;
    current_[k] = -1;
  }
  if (listener_) listener_->cleared();
}

History::Root* History::rootOf(int32_t slot) {
  if (!validSlot(slot) || rootIndex_[slot] < 0) return nullptr;
  return &roots_[static_cast<std::size_t>(rootIndex_[slot])];
}

void History::setButton(int command, ButtonState state) const {
  if (effects_.setButtonState) effects_.setButtonState(command, state);
}

void History::addToHistory(const std::u16string& word, int32_t slot) {
  if (!validSlot(slot)) return;
  if (rootIndex_[slot] < 0) {
    Root root;
    root.slot = slot;
    if (effects_.rootInfo) {
      HistoryEffects::RootInfo info = effects_.rootInfo(slot);
      root.title = std::move(info.title);
      root.nodeData = info.nodeData;
    }
    roots_.push_back(std::move(root));
    rootIndex_[slot] = static_cast<int>(roots_.size()) - 1;
    if (listener_) listener_->rootAdded(slot, roots_.back().title);
  }
  std::vector<std::u16string>& words = rootOf(slot)->words;
  for (std::size_t row = 0; row < words.size(); ++row) {
    if (words[row] == word) {
      words.erase(words.begin() + static_cast<std::ptrdiff_t>(row));
      if (listener_) listener_->wordRemoved(slot, static_cast<int>(row));
      break;
    }
  }
  words.insert(words.begin(), word);
  if (listener_) listener_->wordInserted(slot, 0, word);
  if (words.size() == 1) {
    setButton(kCmdHistoryForward, ButtonState::kGreyed);
    return;
  }
  current_[slot] = 0;
  setButton(kCmdHistoryBack, ButtonState::kShown);
  setButton(kCmdHistoryForward, ButtonState::kGreyed);
}

bool History::showWord(int32_t slot, int target) {
  // A copy: the effects may change the history while they run.
  const std::u16string word = rootOf(slot)->words[static_cast<std::size_t>(target)];
  std::optional<uint32_t> position;
  if (effects_.findWord) position = effects_.findWord(slot, word);
  if (!position) {
    if (effects_.showLookupError) effects_.showLookupError();
    return false;
  }
  if (effects_.showEntry) effects_.showEntry(*position, slot);
  return true;
}

void History::back(int32_t workingIndex) {
  Root* root = rootOf(workingIndex);
  if (root == nullptr) return;
  const int count = static_cast<int>(root->words.size());
  const int target = current_[workingIndex] >= 0 ? current_[workingIndex] + 1 : 1;
  if (target >= count) return;
  if (!showWord(workingIndex, target)) return;
  root = rootOf(workingIndex);
  if (root == nullptr || target >= static_cast<int>(root->words.size())) return;
  current_[workingIndex] = target;
  setButton(kCmdHistoryForward, ButtonState::kShown);
  if (target == static_cast<int>(root->words.size()) - 1) {
    setButton(kCmdHistoryBack, ButtonState::kGreyed);
  }
}

void History::forward(int32_t workingIndex) {
  Root* root = rootOf(workingIndex);
  if (root == nullptr || current_[workingIndex] < 0) return;
  const int target = current_[workingIndex] - 1;
  if (target < 0) return;
  if (!showWord(workingIndex, target)) return;
  if (rootOf(workingIndex) == nullptr) return;
  current_[workingIndex] = target;
  setButton(kCmdHistoryBack, ButtonState::kShown);
  if (target == 0) setButton(kCmdHistoryForward, ButtonState::kGreyed);
}

void History::tapWord(const std::u16string& rootTitle, const std::u16string& word,
                      const std::vector<std::u16string>& installedTitles) {
  const int32_t count = static_cast<int32_t>(installedTitles.size());
  for (int32_t k = 0; k < count && k < kSlots; ++k) {
    if (installedTitles[static_cast<std::size_t>(k)] != rootTitle) continue;
    std::optional<uint32_t> position;
    if (effects_.findWord) position = effects_.findWord(k, word);
    if (!position) {
      if (effects_.showLookupError) effects_.showLookupError();
      return;
    }
    if (effects_.setShowInMainWindow) effects_.setShowInMainWindow();
    if (effects_.showEntry) effects_.showEntry(*position, k);
    return;
  }
}

bool History::hasRoot(int32_t slot) const { return validSlot(slot) && rootIndex_[slot] >= 0; }

std::vector<int32_t> History::rootSlots() const {
  std::vector<int32_t> slots;
  for (const Root& root : roots_) slots.push_back(root.slot);
  return slots;
}

const std::u16string& History::rootTitle(int32_t slot) const {
  return roots_[static_cast<std::size_t>(rootIndex_[slot])].title;
}

uint32_t History::rootNodeData(int32_t slot) const {
  return roots_[static_cast<std::size_t>(rootIndex_[slot])].nodeData;
}

const std::vector<std::u16string>& History::words(int32_t slot) const {
  return roots_[static_cast<std::size_t>(rootIndex_[slot])].words;
}

int History::currentRow(int32_t slot) const { return validSlot(slot) ? current_[slot] : -1; }

}  // namespace lexora
