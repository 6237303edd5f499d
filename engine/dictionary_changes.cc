// The entry changes: each runs its steps (dictionary_writer.cc) in one transaction and, once
// the change is on disk, brings the full-text index up to date with the entry's old and new
// text (dictionary_full_text.cc).

#include "engine/dictionary.h"

namespace lexora {

EditStatus Dictionary::addEntry(std::u16string_view headword, std::u16string_view meaning) {
  const Hold hold(mutex_);
  bool known = fullTextCurrent();
  const DictionaryHeader before = beginChange();
  EditStatus result = finishEdit(addEntrySteps(headword, meaning), before);
  std::optional<uint32_t> added;
  if (result.isOk() && fullText_) {
    uint32_t position = 0;
    int sign = 0;
    known = known && findWord(headword, position, sign).isOk() && sign == 0;
    added = position;
  }
  followChange(result.status(), known, {}, added);
  return result;
}

EditStatus Dictionary::modifyMeaning(uint32_t index, std::u16string_view meaning) {
  const Hold hold(mutex_);
  std::vector<IndexedText> old(1);
  const bool known = fullTextCurrent() && indexedText(index, old[0]).isOk();
  const DictionaryHeader before = beginChange();
  EditStatus result = finishEdit(modifyMeaningSteps(index, meaning), before);
  followChange(result.status(), known, old, index);
  return result;
}

EditStatus Dictionary::modifyWord(uint32_t& index, std::u16string_view headword) {
  const Hold hold(mutex_);
  std::vector<IndexedText> old(1);
  const bool known = fullTextCurrent() && indexedText(index, old[0]).isOk();
  const DictionaryHeader before = beginChange();
  uint32_t moved = index;
  EditStatus result = finishEdit(modifyWordSteps(moved, headword), before);
  if (result.isOk()) index = moved;
  followChange(result.status(), known, old, moved);
  return result;
}

EditStatus Dictionary::deleteEntry(uint32_t index) {
  const Hold hold(mutex_);
  std::vector<IndexedText> old(1);
  const bool known = fullTextCurrent() && indexedText(index, old[0]).isOk();
  const DictionaryHeader before = beginChange();
  EditStatus result = finishEdit(deleteEntrySteps(index), before);
  followChange(result.status(), known, old, std::nullopt);
  return result;
}

}  // namespace lexora
