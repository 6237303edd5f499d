#include "importers/dictd_database.h"

#include <sys/stat.h>

#include <fstream>

namespace lexora::importers {
namespace {

int digitValue(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Without opening it: a pipe would not open until something writes to it. Reading refuses
// what is not a regular file.
bool fileExists(const std::string& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0;
}

}  // namespace

std::optional<uint64_t> decodeDictdNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    const int d = digitValue(c);
    if (d < 0) return std::nullopt;
    value = value * 64 + static_cast<uint64_t>(d);
  }
  return value;
}

DictdIndex parseDictdIndex(std::string_view text) {
  DictdIndex index;
  size_t lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    std::vector<std::string_view> fields;
    size_t from = 0;
    while (true) {
      const size_t tab = line.find('\t', from);
      fields.push_back(
          line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from));
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (fields.size() < 3) {
      index.problems.push_back(where + "not headword TAB offset TAB length");
      continue;
    }
    const auto offset = decodeDictdNumber(fields[1]);
    const auto length = decodeDictdNumber(fields[2]);
    if (!offset || !length) {
      index.problems.push_back(where + "offset or length is not a dictd number");
      continue;
    }
    DictdIndexLine entry;
    entry.headword = std::string(fields.size() >= 4 && !fields[3].empty() ? fields[3] : fields[0]);
    entry.offset = *offset;
    entry.length = *length;
    entry.lineNumber = lineNumber;
    index.lines.push_back(std::move(entry));
  }
  return index;
}

std::optional<std::string> dictdTextFileFor(const std::string& indexFile) {
  std::string base = indexFile;
  const std::string suffix = ".index";
  if (base.size() > suffix.size() &&
      base.compare(base.size() - suffix.size(), suffix.size(), suffix) == 0) {
    base.resize(base.size() - suffix.size());
  }
  for (const char* ending : {".dict.dz", ".dict"}) {
    const std::string name = base + ending;
    if (fileExists(name)) return name;
  }
  return std::nullopt;
}

bool isDictdMetaEntry(std::string_view headword) {
  return headword.rfind("00-database-", 0) == 0 || headword.rfind("00database", 0) == 0;
}

}  // namespace lexora::importers
