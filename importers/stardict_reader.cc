#include "importers/stardict_reader.h"

#include <algorithm>
#include <cctype>

#include "importers/markup_from_tags.h"
#include "importers/source_outline.h"

namespace lexora::importers {
namespace {

constexpr char kIfoMagic[] = "StarDict's dict ifo file";

std::optional<uint64_t> parseCount(std::string_view text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  return v;
}

uint64_t readBigEndian(const unsigned char* p, unsigned bytes) {
  uint64_t v = 0;
  for (unsigned i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

bool isValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

std::string latin1ToUtf8(std::string_view s) {
  std::string out;
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Adds one field of type `type` to the outline.
void readField(char type, std::string_view content, SourceOutline& outline, uint64_t& resources) {
  switch (type) {
    case 't':
      outline.setPronunciation(content);
      break;
    case 'y':
      if (!outline.hasPronunciation()) {
        outline.setPronunciation(content);
      } else {
        readPlainText(content, outline);
      }
      break;
    case 'm':
    case 'w':
    case 'n':
      readPlainText(content, outline);
      break;
    case 'l':
      if (isValidUtf8(content)) {
        readPlainText(content, outline);
      } else {
        readPlainText(latin1ToUtf8(content), outline);
      }
      break;
    case 'g':
      readTagged(content, TagDialect::Pango, outline);
      break;
    case 'h':
    case 'k':
      readTagged(content, TagDialect::Html, outline);
      break;
    case 'x':
      readTagged(content, TagDialect::Xdxf, outline);
      break;
    case 'r': {
      // One resource file per line.
      size_t start = 0;
      while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        // "img:cat.png", "snd:cat.wav", ...: the file's name follows the colon.
        std::string_view line = content.substr(start, end - start);
        line.remove_prefix(line.find(':') == std::string_view::npos ? 0 : line.find(':') + 1);
        if (end > start && !outline.media(line)) ++resources;
        start = end + 1;
      }
      break;
    }
    default:
      if (std::isupper(static_cast<unsigned char>(type))) {
        ++resources;  // pictures, sounds and other binary data
      } else if (isValidUtf8(content)) {
        readPlainText(content, outline);  // an unknown text field
      }
      break;
  }
}

}  // namespace

Status parseStardictIfo(std::string_view text, StardictIfo& ifo) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  if (!lines.empty() && lines[0].rfind("\xEF\xBB\xBF", 0) == 0) lines[0].remove_prefix(3);
  if (lines.empty() || lines[0] != kIfoMagic) {
    return Status::invalidArgument("not a StarDict .ifo file (its first line is not \"" +
                                   std::string(kIfoMagic) + "\")");
  }
  bool haveWordCount = false;
  bool haveIdxSize = false;
  bool haveBookname = false;
  std::string bits;
  for (size_t i = 1; i < lines.size(); ++i) {
    const size_t eq = lines[i].find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = lines[i].substr(0, eq);
    const std::string_view value = lines[i].substr(eq + 1);
    if (key == "version") ifo.version = std::string(value);
    if (key == "bookname") {
      ifo.bookname = std::string(value);
      haveBookname = true;
    }
    if (key == "description") ifo.description = std::string(value);
    if (key == "sametypesequence") ifo.sameTypeSequence = std::string(value);
    if (key == "idxoffsetbits") bits = std::string(value);
    if (key == "wordcount" || key == "synwordcount" || key == "idxfilesize") {
      const auto n = parseCount(value);
      if (!n) {
        return Status::invalidArgument("the value of " + std::string(key) + " is not a number");
      }
      if (key == "wordcount") {
        ifo.wordCount = *n;
        haveWordCount = true;
      } else if (key == "synwordcount") {
        ifo.synWordCount = *n;
      } else {
        ifo.idxFileSize = *n;
        haveIdxSize = true;
      }
    }
  }
  if (ifo.version != "2.4.2" && ifo.version != "3.0.0") {
    return Status::invalidArgument("version " +
                                   (ifo.version.empty() ? std::string("(none)") : ifo.version) +
                                   " is not one this program reads (2.4.2 or 3.0.0)");
  }
  if (!haveBookname || !haveWordCount || !haveIdxSize) {
    return Status::invalidArgument("bookname, wordcount or idxfilesize is missing");
  }
  if (!bits.empty()) {
    if (bits == "64" && ifo.version == "3.0.0") {
      ifo.offsetBits = 64;
    } else if (bits != "32") {
      return Status::invalidArgument("idxoffsetbits=" + bits +
                                     " is not 32, or 64 with version 3.0.0");
    }
  }
  return Status::ok();
}

std::string stardictEntryMarkup(std::string_view headword, std::string_view data,
                                const std::string& sameTypeSequence, uint64_t& resources,
                                const MediaResolver& media) {
  SourceOutline outline;
  if (media) outline.setMediaResolver(media);
  size_t at = 0;
  // One field: a NUL-terminated string for a lower-case type, a 32-bit size and bytes for an
  // upper-case one; the last field of a same-type sequence runs to the end of the data.
  auto field = [&](char type, bool last, std::string_view& content) {
    if (last) {
      content = data.substr(at);
      at = data.size();
      return true;
    }
    if (std::isupper(static_cast<unsigned char>(type))) {
      if (data.size() - at < 4) return false;
      const uint64_t size =
          readBigEndian(reinterpret_cast<const unsigned char*>(data.data()) + at, 4);
      at += 4;
      if (size > data.size() - at) return false;
      content = data.substr(at, size);
      at += size;
      return true;
    }
    const size_t nul = data.find('\0', at);
    const size_t end = nul == std::string_view::npos ? data.size() : nul;
    content = data.substr(at, end - at);
    at = nul == std::string_view::npos ? data.size() : nul + 1;
    return true;
  };
  std::string_view content;
  if (!sameTypeSequence.empty()) {
    for (size_t i = 0; i < sameTypeSequence.size() && at <= data.size(); ++i) {
      const bool last = i + 1 == sameTypeSequence.size();
      if (!field(sameTypeSequence[i], last, content)) break;
      readField(sameTypeSequence[i], content, outline, resources);
      outline.endParagraph();
    }
  } else {
    while (at < data.size()) {
      const char type = data[at++];
      if (!field(type, false, content)) break;
      readField(type, content, outline, resources);
      outline.endParagraph();
    }
  }
  resources += outline.resourcesSkipped();
  return outline.markupOf(headword);
}

}  // namespace lexora::importers
