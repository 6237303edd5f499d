#include "cli/lookup_json.h"

#include "app/lookup_answer.h"
#include "cli/command_support.h"
#include "cli/render_support.h"
#include "render/entry_outline.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {

const char* kindName(LineKind kind) {
  switch (kind) {
    case LineKind::Blank:
      return "blank";
    case LineKind::Headword:
      return "headword";
    case LineKind::WordClass:
      return "word_class";
    case LineKind::Meaning:
      return "meaning";
    case LineKind::Example:
      return "example";
    case LineKind::Idiom:
      return "idiom";
    case LineKind::Synonym:
      return "synonym";
    case LineKind::Plain:
      return "plain";
  }
  return "plain";
}

}  // namespace

void appendEntryJson(std::string& out, const OpenDictionary& d, const EntryLookup& entry,
                     const MissHelp& help) {
  out.append("{\"dictionary\":");
  appendJsonString(out, d.title);
  out.append(",\"file\":");
  appendJsonString(out, d.file);
  out.append(",\"position\":").append(std::to_string(entry.position));
  out.append(",\"sign\":").append(std::to_string(entry.sign));
  out.append(",\"match\":\"").append(matchName(entry.sign == 0 ? MatchKind::Exact : help.match));
  out.append("\",\"exact\":").append(entry.sign == 0 ? "true" : "false");
  if (!help.seeAlso.empty()) {
    out.append(",\"see_also\":");
    appendJsonText(out, help.seeAlso);
  }
  if (help.match == MatchKind::Form) {
    out.append(",\"form_of\":");
    appendJsonText(out, help.formOf);
  } else if (entry.sign != 0 && help.formOf.empty()) {
    out.append(",\"suggestions\":[");
    for (size_t i = 0; i < help.suggestions.size(); ++i) {
      if (i > 0) out.push_back(',');
      appendJsonText(out, help.suggestions[i]);
    }
    out.push_back(']');
  }
  out.append(",\"headword\":");
  appendJsonText(out, entry.headword);
  out.append(",\"entry\":");
  appendJsonText(out, entry.meaning);
  out.append(",\"lines\":[");
  bool first = true;
  for (const OutlineLine& line : outlineEntry(entry.meaning)) {
    if (line.kind == LineKind::Blank) continue;
    if (!first) out.push_back(',');
    first = false;
    out.append("{\"kind\":\"").append(kindName(line.kind)).append("\",\"text\":");
    appendJsonText(out, line.text);
    if (line.kind == LineKind::Headword) {
      out.append(",\"pronunciation\":");
      appendJsonText(out, line.pronunciation);
    }
    if (line.hasTranslation) {
      out.append(",\"translation\":");
      appendJsonText(out, line.translation);
    }
    if (!line.links.empty()) {
      out.append(",\"links\":[");
      for (size_t i = 0; i < line.links.size(); ++i) {
        if (i > 0) out.push_back(',');
        appendJsonText(out, line.links[i]);
      }
      out.push_back(']');
    }
    out.push_back('}');
  }
  out.append("]}");
}

}  // namespace lexora::cli
