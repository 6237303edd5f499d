#pragma once
// The commands of lexora-cli, one function per command, each in its own file, with the usage
// line that `lexora-cli help` and the usage errors show.

#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/dictionary_options.h"

namespace lexora::cli {

inline constexpr char kInfoUsage[] = "info DATA";
int runInfo(const std::vector<std::string>& args, CommandIo& io);  // info.cc

inline constexpr char kWordsUsage[] = "words DATA [--from N] [--count K]";
int runWords(const std::vector<std::string>& args, CommandIo& io);  // words.cc

inline constexpr char kFindUsage[] = "find DATA KEY";
int runFind(const std::vector<std::string>& args, CommandIo& io);  // find.cc

inline constexpr char kMeaningUsage[] = "meaning DATA INDEX";
int runMeaning(const std::vector<std::string>& args, CommandIo& io);  // meaning.cc

inline constexpr char kCreateUsage[] = "create DATA [--collation N] [--title T] [--description D]";
int runCreate(const std::vector<std::string>& args, CommandIo& io);  // create.cc

inline constexpr char kAddUsage[] = "add DATA HEADWORD [MEANING|-]";
int runAdd(const std::vector<std::string>& args, CommandIo& io);  // add.cc

inline constexpr char kSetMeaningUsage[] = "set-meaning DATA INDEX [MEANING|-]";
int runSetMeaning(const std::vector<std::string>& args, CommandIo& io);  // set_meaning.cc

inline constexpr char kRenameUsage[] = "rename DATA INDEX NEWWORD";
int runRename(const std::vector<std::string>& args, CommandIo& io);  // rename.cc

inline constexpr char kDeleteUsage[] = "delete DATA INDEX";
int runDelete(const std::vector<std::string>& args, CommandIo& io);  // delete.cc

inline constexpr char kSetTitleUsage[] = "set-title DATA TEXT";
int runSetTitle(const std::vector<std::string>& args, CommandIo& io);  // set_title.cc

inline constexpr char kSetDescriptionUsage[] = "set-description DATA TEXT";
int runSetDescription(const std::vector<std::string>& args, CommandIo& io);  // set_description.cc

inline constexpr char kImportUsage[] =
    "import tsv|dictd|stardict|dsl|mdict SOURCE DATA [--collation N] [--title T] "
    "[--description D] [--split] [--force]";
int runImport(const std::vector<std::string>& args, CommandIo& io);  // import.cc

inline constexpr char kInstallUsage[] = "install SOURCE [--title T] [--collation N] [--split]";
int runInstall(const std::vector<std::string>& args, CommandIo& io);  // install.cc

inline constexpr char kAvailableUsage[] = "available [--in DIR]...";
int runAvailable(const std::vector<std::string>& args, CommandIo& io);  // available.cc

inline constexpr char kExportUsage[] = "export DATA [-o FILE] [--force]";
int runExport(const std::vector<std::string>& args, CommandIo& io);  // export.cc

inline constexpr char kRenderUsage[] = "render DATA WORD [--folder DIR] [--strict] [--json]";
int runRender(const std::vector<std::string>& args, CommandIo& io);  // render.cc

inline constexpr char kLookupUsage[] =
    "lookup [DATA...] WORD|- [-d NAME]... [--all] [--no-wrap] [--json] [--language TAG]";
int runLookup(const std::vector<std::string>& args, CommandIo& io);  // lookup.cc

inline constexpr char kSearchUsage[] = "search TEXT [DATA...] [--regex]";
int runSearch(const std::vector<std::string>& args, CommandIo& io);  // search.cc

inline constexpr char kLanguageUsage[] = "language DATA [TAG|none|auto]";
int runLanguage(const std::vector<std::string>& args, CommandIo& io);  // language.cc

inline constexpr char kSayUsage[] = "say [--dict DATA] WORD [-o FILE.wav]";
int runSay(const std::vector<std::string>& args, CommandIo& io);  // say.cc

inline constexpr char kSettingsUsage[] = "settings [SpeakHeadwords 0|1]";
int runSettings(const std::vector<std::string>& args, CommandIo& io);  // settings.cc

inline constexpr char kDictsUsage[] = "dicts [add DATA | remove N | move N M]";
int runDicts(const std::vector<std::string>& args, CommandIo& io);  // dicts.cc

}  // namespace lexora::cli
