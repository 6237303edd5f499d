#pragma once
// A voice for words that have no recording: eSpeak NG (offline, about a hundred languages)
// speaks a text in a language into a WAV file image (16-bit mono PCM).

#include <string>
#include <string_view>

namespace lexora {

// The WAV bytes of `text` spoken in `language` (a tag such as "en", "en_GB", "vi"; an unknown
// or empty one speaks English). False with a reason in `error` when eSpeak NG cannot start
// (its voice data missing) or says nothing.
bool speakToWav(std::string_view text, std::string_view language, std::string& wav,
                std::string& error);

// The eSpeak NG voice for a language tag: "en_US" -> "en-us", "vi" -> "vi".
std::string speechVoiceFor(std::string_view language);

// A guess from the letters of one word: Vietnamese letters "vi", Cyrillic "ru", else "en".
std::string languageOfLetters(std::u16string_view word);

}  // namespace lexora
