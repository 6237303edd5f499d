// LexoraDialog's sounds: the speaker link beside the headword, the page's sound links and the
// shortcut that says the shown entry's headword.

#include "app/dictionary_language.h"
#include "app/settings.h"
#include "app/word_voice.h"
#include "engine/file_format.h"
#include "gui/main_window/lexora_dialog.h"
#include "gui/main_window/word_player.h"
#include "platform/qt/qt_text.h"

namespace lexora {

std::u16string LexoraDialog::resourceFolderOf(int32_t dictionaryIndex) {
  if (!state_.dictionaryPath) return {};
  const std::string path = state_.dictionaryPath(dictionaryIndex);
  if (path.empty()) return {};
  return QString::fromStdString(fileSetNames(path).resourceFolder + "/").toStdU16String();
}

bool LexoraDialog::playLink(const std::u16string& href) {
  if (href == u"say:") {
    speakShownEntry();
    return true;
  }
  if (href.rfind(u"sound:", 0) != 0) return false;
  // Only a sound of the page's own dictionary, from its resource folder.
  if (state_.dictionaryPath && pageEntry_.dictionaryIndex >= 0) {
    const std::string file = soundFilePath(state_.dictionaryPath(pageEntry_.dictionaryIndex),
                                           std::u16string_view(href).substr(6));
    if (!file.empty()) player_->play(WordVoice{file, {}, {}});
  }
  return true;
}

void LexoraDialog::speakShownEntry() {
  if (viewMode() != 0 || pageEntry_.entryIndex < 0 || !state_.dictionaryPath) return;
  Dictionary* dict = dictionary(pageEntry_.dictionaryIndex);
  if (dict == nullptr) return;
  std::vector<std::u16string> words;
  std::u16string entry;
  const auto position = static_cast<uint32_t>(pageEntry_.entryIndex);
  if (!dict->readWords(position, 1, words).isOk() || words.empty()) return;
  // An entry that cannot be read names no recording: the voice says the headword.
  if (!dict->readMeaning(position, entry).isOk()) entry.clear();
  const std::string path = state_.dictionaryPath(pageEntry_.dictionaryIndex);
  RegistryKey& key = settingsKey();
  const std::string stored = key.isOpen() ? storedDictionaryLanguage(key, path) : std::string();
  const WordVoice voice =
      wordVoiceFor(words[0], entry, path, voiceLanguage(stored, dict->title(), words[0]));
  if (voice.recording.empty() && speakHeadwords_ == 0) return;
  player_->play(voice);
}

}  // namespace lexora
