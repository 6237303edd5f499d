#include "cli/render_support.h"

#include <algorithm>

#include "app/settings.h"
#include "engine/dictionary.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {

bool isWhiteSpace(char16_t c) {
  return c == u' ' || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// The settings store is read once per run.
Settings& loadedSettings() {
  static Settings& s = []() -> Settings& {
    loadSettings();
    return settings();
  }();
  return s;
}

}  // namespace

std::u16string normaliseLookupWord(std::u16string_view text) {
  while (!text.empty() && isWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isWhiteSpace(text.back())) text.remove_suffix(1);
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    // A link to a word of several words joins them with no-break spaces and hyphens.
    if (c == u'_' || c == 0x00A0) {
      out.push_back(u' ');
    } else if (c == 0x2011) {
      out.push_back(u'-');
    } else if (c != 0x0301) {
      out.push_back(c);
    }
  }
  return out;
}

const DisplaySettings& cliDisplaySettings() { return loadedSettings().display; }

std::vector<std::string> installedDictionaryFiles() {
  const Settings& s = loadedSettings();
  std::vector<std::string> files;
  const int total = std::clamp(s.totalDict, 0, kMaxDictionaries);
  for (int i = 0; i < total; ++i) {
    if (!s.dictionaryPaths[static_cast<size_t>(i)].empty()) {
      files.push_back(toUtf8(s.dictionaryPaths[static_cast<size_t>(i)]));
    }
  }
  return files;
}

LookupStatus lookupEntry(Dictionary& dictionary, std::u16string_view word, EntryLookup& result,
                         std::string& why) {
  uint32_t nearest = 0;
  int sign = 0;
  if (!dictionary.findWord(word, nearest, sign, &result.position).isOk()) {
    why = dictionary.wordCount() == 0 ? "the dictionary has no words"
                                      : "the search failed reading the word table";
    return LookupStatus::Failed;
  }
  result.sign = sign < 0 ? -1 : (sign > 0 ? 1 : 0);
  std::vector<std::u16string> words;
  if (dictionary.readWords(result.position, 1, words).isOk()) {
    result.headword = std::move(words[0]);
  } else {
    result.headword.clear();
  }
  if (!dictionary.readMeaning(result.position, result.meaning).isOk()) {
    why = "cannot read the entry at position " + std::to_string(result.position);
    return LookupStatus::Failed;
  }
  return LookupStatus::Found;
}

void appendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out.append("\\\"");
        break;
      case '\\':
        out.append("\\\\");
        break;
      case '\n':
        out.append("\\n");
        break;
      case '\r':
        out.append("\\r");
        break;
      case '\t':
        out.append("\\t");
        break;
      case '\b':
        out.append("\\b");
        break;
      case '\f':
        out.append("\\f");
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out.append("\\u00");
          out.push_back(kHex[c >> 4]);
          out.push_back(kHex[c & 0xF]);
        } else {
          out.push_back(ch);
        }
    }
  }
  out.push_back('"');
}

void appendJsonText(std::string& out, std::u16string_view text) {
  appendJsonString(out, toUtf8(text));
}

}  // namespace lexora::cli
