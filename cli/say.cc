// lexora-cli say [--dict DATA] WORD [-o FILE]: writes what the speaker link beside WORD plays:
// the entry's recording when the dictionary has one for it (copied as it is), else the word
// spoken by eSpeak NG as WAV, in the dictionary's language (without --dict, in the language
// its letters suggest). Without -o (or with -o -) the bytes go to stdout when it is no terminal.

#include <filesystem>
#include <fstream>
#include <ostream>

#include "app/dictionary_language.h"
#include "app/settings.h"
#include "app/word_voice.h"
#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "engine/dictionary.h"
#include "platform/registry_location.h"
#include "platform/speech.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {

// The entry and language of WORD in DATA; false after reporting a failure.
bool voiceFromDictionary(const std::string& file, const std::u16string& word, WordVoice& voice,
                         CommandIo& io) {
  Dictionary d;
  if (!openOrReport(d, file, io)) return false;
  std::u16string entry;
  uint32_t nearest = 0;
  int sign = 1;
  if (d.findWord(word, nearest, sign).isOk() && sign == 0 && !d.readMeaning(nearest, entry).isOk())
    entry.clear();  // an entry that cannot be read has no recording to play: the voice speaks
  // The language stored for it; nothing is stored here.
  std::string stored;
  std::error_code ec;
  if (std::filesystem::exists(defaultRegistryPath(), ec) && openSettingsKey(std::string())) {
    stored = storedDictionaryLanguage(settingsKey(),
                                      std::filesystem::absolute(file).lexically_normal().string());
  }
  voice = wordVoiceFor(word, entry, file, voiceLanguage(stored, d.title(), word));
  return true;
}

}  // namespace

int runSay(const std::vector<std::string>& args, CommandIo& io) {
  std::vector<std::string> rest = args;
  for (std::string& a : rest) {
    if (a == "-o") a = "--output";
  }
  std::string why;
  const auto parsed = parseArguments(rest, {"--dict", "--output"}, 1, 1, why);
  if (!parsed) return usageError(io, kSayUsage, why);
  // Without -o the WAV goes to a pipe ("say hello | aplay"), never onto a terminal.
  const bool toStdout = !parsed->has("--output") || parsed->option("--output") == "-";
  if (!parsed->has("--output") && writesToTerminal(io))
    return usageError(io, kSayUsage, "-o FILE is missing (or pipe it: say WORD | aplay)");
  const std::string output = toStdout ? std::string("-") : parsed->option("--output");
  const std::u16string word = fromUtf8(parsed->positional[0]);
  WordVoice voice{{}, parsed->positional[0], languageOfLetters(word)};
  if (parsed->has("--dict") && !voiceFromDictionary(parsed->option("--dict"), word, voice, io))
    return kExitFailed;
  std::string bytes;
  if (!voice.recording.empty()) {
    std::ifstream in(voice.recording, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (!in.good() && !in.eof()) return failure(io, voice.recording, "cannot read");
  } else if (!speakToWav(voice.text, voice.language, bytes, why)) {
    return failure(io, output, why);
  }
  if (toStdout) {
    io.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return io.out ? kExitOk : failure(io, "stdout", "cannot write");
  }
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return failure(io, output, "cannot write");
  io.out << "wrote " << output << " ("
         << (voice.recording.empty()
                 ? "eSpeak NG, " + speechVoiceFor(voice.language)
                 : "the dictionary's recording " +
                       std::filesystem::path(voice.recording).filename().string())
         << ")\n";
  return kExitOk;
}

}  // namespace lexora::cli
