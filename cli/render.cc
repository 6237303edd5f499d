// lexora-cli render DATA WORD [--folder DIR] [--strict] [--json]: the page (or, with --json,
// page, fragments and popup pages) that a lookup of WORD in one dictionary shows.

#include <filesystem>
#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/render_support.h"
#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "platform/program_folder.h"
#include "render/entry_renderer.h"
#include "render/popup_page.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {

std::string renderJson(const EntryLookup& entry, const std::u16string& page,
                       const std::vector<std::u16string>& fragments,
                       const DisplaySettings& settings) {
  std::string json;
  json.reserve(page.size() * 4 + 256);
  json.append("{\"position\":").append(std::to_string(entry.position));
  json.append(",\"sign\":").append(std::to_string(entry.sign));
  json.append(",\"headword\":");
  appendJsonText(json, entry.headword);
  json.append(",\"page\":");
  appendJsonText(json, page);
  json.append(",\"fragments\":[");
  for (size_t i = 0; i < fragments.size(); ++i) {
    if (i > 0) json.push_back(',');
    appendJsonText(json, fragments[i]);
  }
  json.append("],\"popup_pages\":[");
  // The first page is reached from -1 by turning forward; then Next while it is offered.
  for (int32_t p = 0;; ++p) {
    if (p > 0) json.push_back(',');
    appendJsonText(json, assemblePopupPage(fragments, p, settings));
    if (!popupButtons(fragments.size(), p).next) break;
  }
  json.append("]}\n");
  return json;
}

}  // namespace

int runRender(const std::vector<std::string>& args, CommandIo& io) {
  std::vector<std::string> rest = args;
  const bool strict = takeFlag(rest, "--strict");
  const bool json = takeFlag(rest, "--json");
  std::string why;
  const auto parsed = parseArguments(rest, {"--folder"}, 2, 2, why);
  if (!parsed) return usageError(io, kRenderUsage, why);
  const std::string& file = parsed->positional[0];

  Dictionary dictionary;
  if (!openOrReport(dictionary, file, io)) return kExitFailed;
  const std::u16string word = normaliseLookupWord(fromUtf8(parsed->positional[1]));
  EntryLookup entry;
  if (lookupEntry(dictionary, word, entry, why) != LookupStatus::Found) {
    return failure(io, file, why);
  }
  if (strict && entry.sign != 0) return kExitNotFound;

  const DisplaySettings& settings = cliDisplaySettings();
  const std::u16string folder =
      parsed->has("--folder") ? fromUtf8(parsed->option("--folder")) : dataFolderText();
  // Pictures and sounds from the dictionary's resource folder, as the window shows them.
  std::error_code ec;
  const std::u16string resources = fromUtf8(
      fileSetNames(std::filesystem::absolute(file, ec).lexically_normal().string()).resourceFolder +
      "/");
  const RenderOptions options{settings, folder, dictionary.collation() != 0, resources};
  const std::u16string page = renderEntryPage(entry.meaning, options);
  if (!json) {
    io.out << toUtf8(page);
    return kExitOk;
  }
  std::vector<std::u16string> fragments;
  renderEntryFragments(entry.meaning, fragments, options);
  io.out << renderJson(entry, page, fragments, settings);
  return kExitOk;
}

}  // namespace lexora::cli
