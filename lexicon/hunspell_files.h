#pragma once
// Where the Hunspell dictionaries are and which one serves a language.
//
// A Hunspell dictionary is a pair of files NAME.aff and NAME.dic, NAME being a language tag
// such as "en_US". They are looked for in the folders of $LEXORA_HUNSPELL_PATH (separated by
// ':') when it is set, otherwise in $XDG_DATA_HOME/lexora/hunspell (~/.local/share/...) and
// then in /usr/share/hunspell, where Debian's hunspell-* packages put them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lexora {

struct HunspellFiles {
  std::string name;  // "en_US"
  std::string aff;   // full paths
  std::string dic;
};

std::vector<std::string> hunspellSearchPath();

// Every NAME with both files, the first folder's winning for a name, sorted by name.
std::vector<HunspellFiles> availableHunspellDictionaries(
    const std::vector<std::string>& searchPath = hunspellSearchPath());

// "en-us", "en_US", "EN_us" -> "en_US"; "en" -> "en". Empty for a tag that is not letters
// with one optional region part.
std::string normaliseLanguageTag(std::string_view tag);

// The dictionary for a language tag: an exact name first; for a bare language ("fr") the
// region named like the language ("fr_FR"; "en_US" for English), else the first by name.
std::optional<HunspellFiles> hunspellForLanguage(std::string_view language,
                                                 const std::vector<HunspellFiles>& available);

// The Debian package that installs the Hunspell dictionary of a language tag ("fr" ->
// "hunspell-fr", "en_GB" -> "hunspell-en-gb"); empty when Debian has none.
std::string hunspellPackage(std::string_view language);

}  // namespace lexora
