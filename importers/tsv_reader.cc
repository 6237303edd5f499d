#include "importers/tsv_reader.h"

#include "importers/source_file.h"
#include "importers/tsv_escape.h"

namespace lexora::importers {
namespace {

// The next line of `in` without its line end, at most kMaxEntrySourceBytes of it: a stream
// without line ends (a device, say) must not fill the memory. False at the end.
bool readLine(std::istream& in, std::string& line, bool& tooLong) {
  line.clear();
  tooLong = false;
  std::streambuf* buffer = in.rdbuf();
  int c = buffer != nullptr ? buffer->sbumpc() : std::char_traits<char>::eof();
  if (c == std::char_traits<char>::eof()) {
    in.setstate(std::ios::eofbit);
    return false;
  }
  for (; c != std::char_traits<char>::eof() && c != '\n'; c = buffer->sbumpc()) {
    if (line.size() < kMaxEntrySourceBytes) {
      line += static_cast<char>(c);
    } else {
      tooLong = true;
    }
  }
  if (c == std::char_traits<char>::eof()) in.setstate(std::ios::eofbit);
  return true;
}

}  // namespace

Status readTsvSource(std::istream& in, const std::string& name, EntrySink& sink) {
  std::string line;
  bool tooLong = false;
  for (uint64_t number = 1; readLine(in, line, tooLong); ++number) {
    if (tooLong) {
      sink.skip(name + ":" + std::to_string(number) + ": skipped: longer than " +
                std::to_string(kMaxEntrySourceBytes >> 20) + " MB");
      continue;
    }
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
