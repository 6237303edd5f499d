#include "cli/dictionary_choice.h"

#include <filesystem>
#include <system_error>

#include "engine/file_format.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {

// Case folded the simple way, letter by letter: enough for the titles people type.
std::u16string folded(std::string_view utf8) {
  std::u16string text = fromUtf8(utf8);
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') {
      c = static_cast<char16_t>(c + 32);
    } else if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB) ||
               (c >= 0x410 && c <= 0x42F)) {
      c = static_cast<char16_t>(c + 32);  // Latin-1, Greek and Cyrillic capitals
    } else if (c >= 0x100 && c <= 0x17F && c % 2 == 0 && c != 0x130 && c != 0x138) {
      c = static_cast<char16_t>(c + 1);  // Latin Extended-A pairs
    }
  }
  return text;
}

std::string_view baseName(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<std::vector<std::string>> takeDictionaryNames(std::vector<std::string>& args,
                                                            std::string& error) {
  std::vector<std::string> names;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "-d") {
      rest.push_back(args[i]);
      continue;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      error = "option -d needs a dictionary name";
      return std::nullopt;
    }
    names.push_back(args[++i]);
  }
  args = std::move(rest);
  return names;
}

bool dictionaryNameMatches(std::string_view name, std::string_view title, std::string_view file) {
  const std::u16string wanted = folded(name);
  if (wanted.empty()) return false;
  return folded(title).find(wanted) != std::u16string::npos ||
         folded(baseName(file)).find(wanted) != std::u16string::npos;
}

bool looksLikeDictionaryFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  return std::filesystem::is_regular_file(fileSetNames(path).indexFile, ec);
}

}  // namespace lexora::cli
