#pragma once
// What the speaker link beside a headword plays: the entry's own recording (its first sound
// media line, a file in the dictionary's resource folder) when it has one, else the headword
// spoken by eSpeak NG in the dictionary's language.

#include <string>
#include <string_view>

namespace lexora {

struct WordVoice {
  std::string recording;  // the recording's path; empty: speak `text` in `language`
  std::string text;
  std::string language;
};

// `entryText` is the entry's markup (may be empty), `dataFile` the dictionary's data file.
WordVoice wordVoiceFor(std::u16string_view headword, std::u16string_view entryText,
                       const std::string& dataFile, const std::string& language);

// The language the voice speaks a dictionary's word in: the stored one (install stores the
// source's), else the one its title names, else the one the word's letters suggest.
std::string voiceLanguage(const std::string& stored, std::u16string_view title,
                          std::u16string_view word);

// The path of a sound a media line names ("sound:" links of the page), inside the resource
// folder of `dataFile`; empty for a name that is not a sound, a file that does not exist, and
// a name that leads out of the folder (through "..", an absolute name or a link).
std::string soundFilePath(const std::string& dataFile, std::u16string_view name);

}  // namespace lexora
