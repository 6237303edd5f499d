#include "app/word_voice.h"

#include <filesystem>

#include "app/dictionary_language.h"
#include "engine/file_format.h"
#include "platform/speech.h"
#include "render/entry_markup.h"
#include "util/folder_path.h"
#include "util/standard_utf8.h"

namespace lexora {

std::string soundFilePath(const std::string& dataFile, std::u16string_view name) {
  namespace fs = std::filesystem;
  if (mediaKindOf(name) != MediaKind::Sound) return {};
  // Entries and pages are untrusted: only the folder's own files play.
  const std::optional<fs::path> relative = relativeInFolder(toUtf8(name));
  if (!relative) return {};
  const std::string folder = fileSetNames(dataFile).resourceFolder;
  const std::string path = folder + "/" + relative->string();
  if (!resolvesInto(path, realFolder(folder))) return {};
  std::error_code ec;
  return fs::is_regular_file(fs::canonical(path, ec), ec) ? path : std::string();
}

std::string voiceLanguage(const std::string& stored, std::u16string_view title,
                          std::u16string_view word) {
  if (!stored.empty() && stored != "none") return stored;
  if (std::string named = languageNamedInTitle(title); !named.empty()) return named;
  return languageOfLetters(word);
}

WordVoice wordVoiceFor(std::u16string_view headword, std::u16string_view entryText,
                       const std::string& dataFile, const std::string& language) {
  WordVoice voice;
  forEachLine(entryText, [&](std::u16string_view line) {
    if (voice.recording.empty() && isMediaLine(line))
      voice.recording = soundFilePath(dataFile, line.substr(1));
  });
  voice.text = toUtf8(headword);
  voice.language = language;
  return voice;
}

}  // namespace lexora
