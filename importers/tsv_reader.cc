#include "importers/tsv_reader.h"

#include "importers/tsv_escape.h"

namespace lexora::importers {

Status readTsvSource(std::istream& in, const std::string& name, EntrySink& sink) {
  std::string line;
  for (uint64_t number = 1; std::getline(in, line); ++number) {
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // a BOM
    if (!line.empty() && line.back() == '\r') line.pop_back();                // CR LF line ends
    const size_t tab = line.find('\t');
    const std::string where = name + ":" + std::to_string(number);
    if (tab == std::string::npos) {
      sink.skip(where + ": skipped: no TAB between headword and meaning");
      continue;
    }
    sink.add(unescapeTsvField(std::string_view(line).substr(0, tab)),
             unescapeTsvField(std::string_view(line).substr(tab + 1)), where);
    if (number % 4096 == 0 && !sink.progress(number, 0)) return Status::ok();
  }
  if (in.bad()) return Status::ioError(name + ": cannot read");
  return Status::ok();
}

}  // namespace lexora::importers
