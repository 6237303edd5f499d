#include "importers/dsl_source.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "importers/text_encoding.h"

namespace lexora::importers {
namespace {

// The legacy code pages that "#SOURCE_CODE_PAGE" names, as iconv charsets.
const char* codePageCharset(std::string_view name) {
  static const std::pair<std::string_view, const char*> kPages[] = {
      {"Latin", "CP1252"},       {"Cyrillic", "CP1251"}, {"EasternEuropean", "CP1250"},
      {"Greek", "CP1253"},       {"Turkish", "CP1254"},  {"Hebrew", "CP1255"},
      {"Arabic", "CP1256"},      {"Baltic", "CP1257"},   {"Vietnamese", "CP1258"},
      {"Thai", "CP874"},         {"ChineseSimp", "GBK"}, {"ChineseTrad", "BIG5"},
      {"Japanese", "SHIFT_JIS"}, {"Korean", "CP949"},
  };
  for (const auto& [page, charset] : kPages) {
    if (name == page) return charset;
  }
  return nullptr;
}

// The quoted value of a directive line ("#NAME \"value\"").
std::string directiveValue(std::string_view line) {
  const size_t open = line.find('"');
  const size_t close = line.rfind('"');
  if (open == std::string_view::npos || close <= open) return {};
  return std::string(line.substr(open + 1, close - open - 1));
}

// The code page an 8-bit file names, read from its raw bytes.
const char* declaredCodePage(std::string_view bytes) {
  const size_t at = bytes.find("#SOURCE_CODE_PAGE");
  if (at == std::string_view::npos) return nullptr;
  const size_t end = bytes.find('\n', at);
  return codePageCharset(directiveValue(
      bytes.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at)));
}

// Drops "{{...}}" comments, which may run across lines; an escaped brace opens none.
std::string withoutComments(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      out += text[i];
      out += text[++i];
      continue;
    }
    if (text.compare(i, 2, "{{") == 0) {
      const size_t end = text.find("}}", i + 2);
      if (end == std::string_view::npos) break;  // an unclosed comment runs to the end
      i = end + 1;
      continue;
    }
    out += text[i];
  }
  return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

constexpr std::string_view kInclude = "#INCLUDE";

bool isIncludeDirective(std::string_view line) {
  return line.rfind(kInclude, 0) == 0 &&
         (line.size() == kInclude.size() || isBlank(line[kInclude.size()]) ||
          line[kInclude.size()] == '"');
}

// The file an "#INCLUDE" names: its quoted value, or else the rest of the line.
std::string includedName(std::string_view line) {
  if (std::string quoted = directiveValue(line); !quoted.empty()) return quoted;
  std::string_view rest = line.substr(kInclude.size());
  while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && isBlank(rest.back())) rest.remove_suffix(1);
  return std::string(rest);
}

std::string collapseBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (isBlank(c) || c == '\r' || c == '\n') {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

std::string unescapeDsl(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

Status parseDslText(std::string_view bytes, DslText& dsl) {
  size_t mark = 0;
  const char* charset = guessUnicodeEncoding(bytes, mark);
  bytes.remove_prefix(mark);
  std::string decoded;
  if (std::string_view(charset) == "UTF-8") {
    if (const char* page = mark == 0 ? declaredCodePage(bytes) : nullptr) charset = page;
  }
  if (Status s = convertToUtf8(bytes, charset, decoded); !s.isOk()) return s;
  dsl.text = withoutComments(decoded);
  dsl.cards.clear();
  dsl.includes.clear();

  const std::string_view text = dsl.text;
  DslCard* card = nullptr;
  bool inBody = false;
  size_t number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || std::all_of(line.begin(), line.end(), isBlank)) continue;
    if (line.front() == '#') {
      const std::string value = directiveValue(line);
      if (line.rfind("#NAME", 0) == 0) dsl.name = value;
      if (line.rfind("#INDEX_LANGUAGE", 0) == 0) dsl.indexLanguage = value;
      if (line.rfind("#CONTENTS_LANGUAGE", 0) == 0) dsl.contentsLanguage = value;
      if (isIncludeDirective(line)) dsl.includes.push_back({includedName(line), number});
      continue;
    }
    if (isBlank(line.front())) {
      if (card != nullptr) {
        card->body.push_back(line);
        inBody = true;
      }
      continue;
    }
    // A headword line: a new card unless it follows other headword lines.
    if (card == nullptr || inBody) {
      dsl.cards.emplace_back();
      card = &dsl.cards.back();
      card->line = number;
      inBody = false;
    }
    card->headwords.push_back(line);
  }
  return Status::ok();
}

DslHeadword parseDslHeadword(std::string_view line) {
  struct Piece {
    std::string text;
    bool optional = false;
    bool unsorted = false;
  };
  std::vector<Piece> pieces(1);
  int unsorted = 0;
  bool optional = false;
  auto startPiece = [&] {
    if (!pieces.back().text.empty()) pieces.emplace_back();
    pieces.back().optional = optional;
    pieces.back().unsorted = unsorted > 0;
  };
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\\' && i + 1 < line.size()) {
      pieces.back().text += line[++i];
    } else if (c == '{' || c == '}') {
      unsorted = std::max(0, unsorted + (c == '{' ? 1 : -1));
      startPiece();
    } else if ((c == '(' || c == ')') && unsorted == 0) {
      optional = c == '(';
      startPiece();
    } else {
      pieces.back().text += c;
    }
  }

  DslHeadword h;
  std::string shown;
  std::string full;
  size_t optionals = 0;
  for (const Piece& p : pieces) {
    shown += p.optional ? "(" + p.text + ")" : p.text;
    if (!p.unsorted) full += p.text;
    if (p.optional && !p.unsorted) ++optionals;
  }
  h.shown = collapseBlanks(shown);
  h.full = collapseBlanks(full);
  // Every choice of optional parts, the first ones first; a line with many stays readable.
  const size_t choices = size_t{1} << std::min<size_t>(optionals, 4);
  for (size_t mask = 0; mask < choices; ++mask) {
    std::string key;
    size_t k = 0;
    for (const Piece& p : pieces) {
      if (p.unsorted) continue;
      if (p.optional && k++ < 4 && (mask >> (k - 1) & 1) != 0) continue;
      key += p.text;
    }
    key = collapseBlanks(key);
    if (!key.empty() && std::find(h.keys.begin(), h.keys.end(), key) == h.keys.end())
      h.keys.push_back(std::move(key));
  }
  return h;
}

std::string dslLanguageTag(std::string_view name) {
  static const std::pair<std::string_view, const char*> kLanguages[] = {
      {"English", "en"},   {"Russian", "ru"},    {"German", "de"},     {"GermanNewSpelling", "de"},
      {"French", "fr"},    {"Spanish", "es"},    {"Italian", "it"},    {"Portuguese", "pt"},
      {"Ukrainian", "uk"}, {"Belarusian", "be"}, {"Polish", "pl"},     {"Czech", "cs"},
      {"Dutch", "nl"},     {"Swedish", "sv"},    {"Norwegian", "nb"},  {"Danish", "da"},
      {"Finnish", "fi"},   {"Hungarian", "hu"},  {"Romanian", "ro"},   {"Bulgarian", "bg"},
      {"Greek", "el"},     {"Turkish", "tr"},    {"Latin", "la"},      {"Vietnamese", "vi"},
      {"Chinese", "zh"},   {"ChinesePRC", "zh"}, {"Japanese", "ja"},   {"Korean", "ko"},
      {"Arabic", "ar"},    {"Hebrew", "he"},     {"Esperanto", "eo"},  {"Kazakh", "kk"},
      {"Serbian", "sr"},   {"Croatian", "hr"},   {"Slovak", "sk"},     {"Slovenian", "sl"},
      {"Estonian", "et"},  {"Latvian", "lv"},    {"Lithuanian", "lt"}, {"Georgian", "ka"},
      {"Armenian", "hy"},  {"Tatar", "tt"},      {"Indonesian", "id"}, {"Hindi", "hi"},
  };
  for (const auto& [language, tag] : kLanguages) {
    if (name == language) return tag;
  }
  return {};
}

}  // namespace lexora::importers
