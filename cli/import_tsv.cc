// lexora-cli import tsv SRC DATA [options]: one entry per line, headword TAB meaning, escaped.

#include <fstream>
#include <iostream>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/import_run.h"
#include "util/standard_utf8.h"
#include "cli/tsv_escape.h"

namespace lexora::cli {

int importTsv(const std::string& source, const std::string& dataFile,
              const DictionaryOptions& options, CommandIo& io) {
  std::ifstream file;
  std::istream* in = &io.in;
  if (source != "-") {
    file.open(source, std::ios::binary);
    if (!file) return failure(io, source, "cannot open");
    in = &file;
  }
  const std::string name = source == "-" ? std::string("stdin") : source;
  std::vector<ImportEntry> entries;
  size_t malformed = 0;
  std::string line;
  for (size_t number = 1; std::getline(*in, line); ++number) {
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // a BOM
    if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF line ends
    const size_t tab = line.find('\t');
    const std::string where = name + ":" + std::to_string(number);
    if (tab == std::string::npos) {
      ++malformed;
      io.err << where << ": skipped: no TAB between headword and meaning\n";
      continue;
    }
    ImportEntry e;
    e.headword = fromUtf8(unescapeTsvField(std::string_view(line).substr(0, tab)));
    e.meaning = fromUtf8(unescapeTsvField(std::string_view(line).substr(tab + 1)));
    e.where = where;
    entries.push_back(std::move(e));
  }
  if (in->bad()) return failure(io, name, "cannot read");
  return buildImported(entries, malformed, options, dataFile, io);
}

}  // namespace lexora::cli
