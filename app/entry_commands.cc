#include "app/entry_commands.h"

#include <utility>
#include <vector>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/edit_result.h"
#include "render/entry_markup.h"

namespace lexora {

namespace {

struct Message {
  std::u16string_view text;
  MessageIcon icon = MessageIcon::None;
};

Message addEntryMessage(EditResult result) {
  switch (result) {
    case EditResult::Ok:
      return {kAddOkMessage};
    case EditResult::WordExists:
      return {kWordExistsMessage};
    case EditResult::WordTooLong:
      return {kWordSizeMessage};
    case EditResult::MeaningTooLong:
      return {kMeaningSizeMessage};
    case EditResult::EmptyWord:
      return {kEmptyWordMessage};
    case EditResult::SearchFailed:
      return {kDictionaryErrorMessage, MessageIcon::Error};
    case EditResult::ReadOnly:
      return {kReadOnlyMessage};
    default:
      return {kUnknownErrorMessage};
  }
}

Message modifyMeaningMessage(EditResult result) {
  switch (result) {
    case EditResult::Ok:
      return {kModifyOkMessage};
    case EditResult::MeaningTooLong:
      return {kSizeMessage};
    case EditResult::ReadOnly:
      return {kReadOnlyMessage};
    default:
      return {kUnknownErrorMessage};
  }
}

Message modifyWordMessage(EditResult result) {
  switch (result) {
    case EditResult::Ok:
      return {kModifyWordOkMessage};
    case EditResult::WordExists:
      return {kWordExistsMessage};
    case EditResult::WordTooLong:
      return {kSizeMessage};
    case EditResult::EmptyWord:
      return {kEmptyWordMessage};
    case EditResult::SearchFailed:
      return {kDictionaryErrorMessage, MessageIcon::Error};
    case EditResult::ReadOnly:
      return {kReadOnlyMessage};
    default:
      return {kUnknownErrorMessage};
  }
}

}  // namespace

std::u16string deleteQuestion(const std::u16string& headword) {
  return u"You want delete entry: \"" + headword + u"\"";
}

std::u16string lowerCaseHeadword(std::u16string_view headword) {
  std::u16string lower;
  lower.reserve(headword.size());
  for (char16_t unit : headword) lower.push_back(towlowerUnit(unit));
  return lower;
}

std::u16string meaningFromEditText(std::u16string_view editText) {
  std::u16string meaning;
  meaning.reserve(editText.size());
  for (size_t i = 0; i < editText.size(); ++i) {
    if (editText.substr(i, 3) == u"\r\r\n") continue;  // keep the CR LF that follows
    meaning.push_back(editText[i]);
  }
  return meaning;
}

EntryCommands::EntryCommands(EntryMessages& messages, EntryEditor& editor, EntryWordList& wordList)
    : messages_(messages), editor_(editor), wordList_(wordList) {}

void EntryCommands::onEntryCommand(int commandId, Dictionary* working, int& currentEntryIndex) {
  if (working == nullptr) return;
  const bool needsEntry =
      commandId == kCmdModifyMeaning || commandId == kCmdModifyWord || commandId == kCmdDeleteWord;
  if (commandId != kCmdAddNewWord && !needsEntry) return;
  if (needsEntry && currentEntryIndex < 0) return;
  if (!checkWritable(*working)) return;
  switch (commandId) {
    case kCmdAddNewWord:
      addNewWord(*working, currentEntryIndex);
      return;
    case kCmdModifyMeaning:
      modifyMeaning(*working, currentEntryIndex);
      return;
    case kCmdModifyWord:
      modifyWord(*working, currentEntryIndex);
      return;
    case kCmdDeleteWord:
      deleteWord(*working, currentEntryIndex);
      return;
    default:
      return;
  }
}

bool EntryCommands::checkWritable(const Dictionary& dictionary) {
  if (!dictionary.isReadOnly()) return true;
  messages_.showMessage(kReadOnlyMessage, MessageIcon::Error);
  return false;
}

void EntryCommands::addNewWord(Dictionary& dictionary, int& currentEntryIndex) {
  // A closed working dictionary (it failed to open or a read closed it) cannot take the entry:
  // say so before the user types it.
  if (!dictionary.isOpen()) {
    messages_.showMessage(kDictionaryErrorMessage, MessageIcon::Error);
    return;
  }
  EntryTexts texts{kNewWordHeadword, toEditText(kNewWordMeaning)};
  if (!editor_.edit(EditMode::Add, texts)) return;

  const std::u16string headword = lowerCaseHeadword(texts.headword);
  if (headword.empty()) {
    messages_.showMessage(kEmptyWordMessage, MessageIcon::None);
    return;
  }
  const EditResult result =
      dictionary.addEntry(headword, meaningFromEditText(texts.meaning)).editResult();
  const Message message = addEntryMessage(result);
  messages_.showMessage(std::u16string(message.text), message.icon);

  if (result != EditResult::Ok) {
    // A failure late in the write can still have changed the word count in memory.
    wordList_.setRowCount(dictionary.wordCount());
    return;
  }
  uint32_t nearest = 0;
  int sign = 1;
  if (dictionary.findWord(headword, nearest, sign).isOk() && sign == 0) {
    showChangedEntry(dictionary, nearest, currentEntryIndex);
  } else {
    wordList_.setRowCount(dictionary.wordCount());
  }
}

void EntryCommands::modifyMeaning(Dictionary& dictionary, int& currentEntryIndex) {
  // The target is fixed before the editor opens: whatever happens while it is open, the
  // change goes to the entry the editor was opened on.
  const uint32_t index = static_cast<uint32_t>(currentEntryIndex);
  std::u16string headword;
  std::u16string meaning;
  if (!readEntry(dictionary, currentEntryIndex, headword, &meaning)) return;

  EntryTexts texts{headword, toEditText(meaning)};
  if (!editor_.edit(EditMode::ModifyMeaning, texts)) return;

  const EditResult result =
      dictionary.modifyMeaning(index, meaningFromEditText(texts.meaning)).editResult();
  const Message message = modifyMeaningMessage(result);
  messages_.showMessage(std::u16string(message.text), message.icon);
  if (result == EditResult::Ok) showChangedEntry(dictionary, index, currentEntryIndex);
}

void EntryCommands::modifyWord(Dictionary& dictionary, int& currentEntryIndex) {
  uint32_t index = static_cast<uint32_t>(currentEntryIndex);  // fixed before the editor
  std::u16string headword;
  std::u16string meaning;
  if (!readEntry(dictionary, currentEntryIndex, headword, &meaning)) return;

  EntryTexts texts{headword, toEditText(meaning)};
  const bool accepted = editor_.edit(EditMode::ModifyWord, texts);
  // The entry may move in the table: it is no longer the current one unless shown again below.
  currentEntryIndex = -1;
  if (!accepted) return;

  if (texts.headword.empty()) {
    messages_.showMessage(kEmptyWordMessage, MessageIcon::None);
    return;
  }
  const EditResult result = dictionary.modifyWord(index, texts.headword).editResult();
  const Message message = modifyWordMessage(result);
  messages_.showMessage(std::u16string(message.text), message.icon);
  if (result == EditResult::Ok) showChangedEntry(dictionary, index, currentEntryIndex);
}

void EntryCommands::deleteWord(Dictionary& dictionary, int& currentEntryIndex) {
  const uint32_t index = static_cast<uint32_t>(currentEntryIndex);  // fixed before the question
  std::u16string headword;
  if (!readEntry(dictionary, currentEntryIndex, headword, nullptr)) return;
  if (!messages_.askYesNo(deleteQuestion(headword))) return;

  if (!dictionary.deleteEntry(index).isOk()) {
    messages_.showMessage(kDeleteFailedMessage, MessageIcon::None);
  }
  currentEntryIndex = -1;
  wordList_.setRowCount(dictionary.wordCount());
  // The deleted entry's page must not stay as if it were still there to edit.
  wordList_.showHomePage();
}

bool EntryCommands::readEntry(Dictionary& dictionary, int index, std::u16string& headword,
                              std::u16string* meaning) {
  std::vector<std::u16string> words;
  const bool read =
      index >= 0 && dictionary.readWords(static_cast<uint32_t>(index), 1, words).isOk() &&
      !words[0].empty() &&
      (meaning == nullptr || dictionary.readMeaning(static_cast<uint32_t>(index), *meaning).isOk());
  if (!read) {
    messages_.showMessage(kDictionaryErrorMessage, MessageIcon::Error);
    return false;
  }
  headword = std::move(words[0]);
  return true;
}

void EntryCommands::showChangedEntry(Dictionary& dictionary, uint32_t index,
                                     int& currentEntryIndex) {
  wordList_.setRowCount(dictionary.wordCount());
  currentEntryIndex = static_cast<int>(index);
  wordList_.showEntry(index);
}

}  // namespace lexora
