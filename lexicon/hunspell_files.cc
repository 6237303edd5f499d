#include "lexicon/hunspell_files.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

namespace lexora {
namespace {

std::vector<std::string> splitPath(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t colon = text.find(':', start);
    const size_t end = colon == std::string::npos ? text.size() : colon;
    if (end > start) out.push_back(text.substr(start, end - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return out;
}

// Debian's Hunspell packages by tag: a bare language names the package of its own country.
constexpr std::pair<const char*, const char*> kPackages[] = {
    {"cs", "cs"},       {"da", "da"},    {"de", "de-de"},    {"de_AT", "de-at"}, {"de_CH", "de-ch"},
    {"el", "el"},       {"en", "en-us"}, {"en_AU", "en-au"}, {"en_CA", "en-ca"}, {"en_GB", "en-gb"},
    {"en_ZA", "en-za"}, {"es", "es"},    {"fr", "fr"},       {"hu", "hu"},       {"it", "it"},
    {"nb", "no"},       {"nl", "nl"},    {"nn", "no"},       {"pl", "pl"},       {"pt", "pt-pt"},
    {"pt_BR", "pt-br"}, {"ro", "ro"},    {"ru", "ru"},       {"sv", "sv"},       {"tr", "tr"},
    {"uk", "uk"},       {"vi", "vi"},
};

}  // namespace

std::string hunspellPackage(std::string_view language) {
  const std::string tag = normaliseLanguageTag(language);
  const std::string bare = tag.substr(0, tag.find('_'));
  for (const std::string& name : {tag, bare}) {
    for (const auto& [known, package] : kPackages) {
      if (name == known) return std::string("hunspell-") + package;
    }
  }
  return {};
}

std::vector<std::string> hunspellSearchPath() {
  if (const char* own = std::getenv("LEXORA_HUNSPELL_PATH"); own != nullptr && *own != '\0') {
    return splitPath(own);
  }
  std::vector<std::string> path;
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (data != nullptr && data[0] == '/') {
    path.push_back(std::string(data) + "/lexora/hunspell");
  } else if (home != nullptr && home[0] == '/') {
    path.push_back(std::string(home) + "/.local/share/lexora/hunspell");
  }
  path.push_back("/usr/share/hunspell");
  return path;
}

std::vector<HunspellFiles> availableHunspellDictionaries(
    const std::vector<std::string>& searchPath) {
  namespace fs = std::filesystem;
  std::map<std::string, HunspellFiles> found;
  for (const std::string& folder : searchPath) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      const fs::path& file = it->path();
      if (file.extension() != ".aff") continue;
      const std::string name = file.stem().string();
      if (found.count(name) != 0) continue;
      fs::path dic = file;
      dic.replace_extension(".dic");
      std::error_code ignored;
      if (!fs::is_regular_file(file, ignored) || !fs::is_regular_file(dic, ignored)) continue;
      found.emplace(name, HunspellFiles{name, file.string(), dic.string()});
    }
  }
  std::vector<HunspellFiles> out;
  out.reserve(found.size());
  for (auto& [name, files] : found) out.push_back(std::move(files));
  return out;
}

std::string normaliseLanguageTag(std::string_view tag) {
  std::string language;
  std::string region;
  bool inRegion = false;
  for (char c : tag) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '-' || c == '_') {
      if (inRegion || language.empty()) return {};
      inRegion = true;
    } else if (std::isalpha(u)) {
      (inRegion ? region : language).push_back(c);
    } else {
      return {};
    }
  }
  if (language.empty() || language.size() > 8 || region.size() > 8) return {};
  if (inRegion && region.empty()) return {};
  for (char& c : language) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : region) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return region.empty() ? language : language + "_" + region;
}

std::optional<HunspellFiles> hunspellForLanguage(std::string_view language,
                                                 const std::vector<HunspellFiles>& available) {
  const std::string tag = normaliseLanguageTag(language);
  if (tag.empty()) return std::nullopt;
  const auto named = [&](const std::string& name) -> std::optional<HunspellFiles> {
    for (const HunspellFiles& files : available) {
      if (files.name == name) return files;
    }
    return std::nullopt;
  };
  if (auto exact = named(tag)) return exact;
  const size_t underscore = tag.find('_');
  const std::string bare = underscore == std::string::npos ? tag : tag.substr(0, underscore);
  std::string own = bare;
  std::transform(own.begin(), own.end(), own.begin(), [](char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  });
  if (auto same = named(bare + "_" + (bare == "en" ? std::string("US") : own))) return same;
  for (const HunspellFiles& files : available) {
    if (files.name.rfind(bare + "_", 0) == 0) return files;
  }
  return std::nullopt;
}

}  // namespace lexora
