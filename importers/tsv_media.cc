#include "importers/tsv_media.h"

#include "importers/resource_store.h"

namespace lexora::importers {

void TsvMediaSink::add(std::string_view headword, std::string&& meaning, std::string_view where) {
  if (meaning.find(kMediaLineLead) == std::string::npos) {
    next_.add(headword, std::move(meaning), where);
    return;
  }
  // Each line keeps its own line end; a dropped line goes with its line end.
  std::string out;
  out.reserve(meaning.size());
  const std::string_view text = meaning;
  bool droppedLast = false;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    const std::string_view piece = text.substr(start, end - start);
    start = end;
    const size_t lineEnd = piece.find_first_of("\r\n");
    const std::string_view line = piece.substr(0, lineEnd);
    droppedLast = false;
    if (line.rfind(kMediaLineLead, 0) != 0) {
      out += piece;
      continue;
    }
    const std::string kept = mediaLine(line.substr(kMediaLineLead.size()), where);
    droppedLast = kept.empty();
    if (!droppedLast) {
      out += kept;
      if (lineEnd != std::string_view::npos) out += piece.substr(lineEnd);
    }
  }
  if (droppedLast) {
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  }
  next_.add(headword, std::move(out), where);
}

std::string TsvMediaSink::mediaLine(std::string_view name, std::string_view where) {
  std::string why;
  std::string line = storeMediaLine(name, media_, resources_, info_, why);
  if (!why.empty())
    next_.skip(std::string(where) + ": '" + std::string(name) + "': skipped: " + why);
  return line;
}

}  // namespace lexora::importers
