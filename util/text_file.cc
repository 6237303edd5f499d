#include "util/text_file.h"

#include <algorithm>
#include <fstream>

namespace lexora {

bool readWholeFile(const std::string& path, std::string& out) {
  out.clear();
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
  if (size < 0) return false;
  out.resize(static_cast<size_t>(size));
  in.seekg(0);
  if (in.read(out.data(), size)) return true;
  out.clear();
  return false;
}

std::vector<std::string_view> textFields(std::string_view line) {
  constexpr std::string_view kSeparators = " \t\r";
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size()) {
    at = line.find_first_not_of(kSeparators, at);
    if (at == std::string_view::npos) break;
    const size_t end = std::min(line.find_first_of(kSeparators, at), line.size());
    fields.push_back(line.substr(at, end - at));
    at = end;
  }
  return fields;
}

}  // namespace lexora
