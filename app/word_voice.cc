#include "app/word_voice.h"

#include <filesystem>

#include "app/dictionary_language.h"
#include "engine/file_format.h"
#include "platform/speech.h"
#include "render/entry_markup.h"
#include "util/standard_utf8.h"

namespace lexora {

std::string soundFilePath(const std::string& dataFile, std::u16string_view name) {
  namespace fs = std::filesystem;
  if (mediaKindOf(name) != MediaKind::Sound) return {};
  // Entries and pages are untrusted: only the folder's own files play, reached through no
  // "..", absolute name or link that leads out of it.
  const fs::path relative = fs::path(toUtf8(name)).lexically_normal();
  if (relative.empty() || relative.is_absolute() || *relative.begin() == "..") return {};
  const std::string folder = fileSetNames(dataFile).resourceFolder;
  const std::string path = folder + "/" + relative.string();
  std::error_code ec;
  std::error_code folderError;
  const std::string real = fs::canonical(path, ec).string();
  const std::string root = fs::canonical(folder, folderError).string() + "/";
  if (ec || folderError || real.compare(0, root.size(), root) != 0) return {};
  return fs::is_regular_file(real, ec) ? path : std::string();
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
