#include "app/lookup_flow.h"

namespace lexora {
namespace {

bool isWhiteSpace(char16_t c) {
  switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
    case 0xFEFF:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

}  // namespace

std::u16string normaliseLookupWord(std::u16string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isWhiteSpace(text[begin])) ++begin;
  while (end > begin && isWhiteSpace(text[end - 1])) --end;
  std::u16string out;
  out.reserve(end - begin);
  for (size_t i = begin; i < end; ++i) {
    char16_t c = text[i];
    // A link to a word of several words joins them with no-break spaces and hyphens.
    if (c == u'_' || c == 0x00A0) {
      out += u' ';
    } else if (c == 0x2011) {
      out += u'-';
    } else if (c != 0x0301) {
      out += c;
    }
  }
  return out;
}

std::u16string cutToChars(std::u16string_view text, uint32_t maxChars) {
  return std::u16string(text.substr(0, maxChars));
}

int32_t handOffDictionary(int64_t lParam, bool shownFromReverse, int32_t workingDictIndex,
                          int32_t reverseDictIndex) {
  if (lParam == 1 && !shownFromReverse) return reverseDictIndex;
  return workingDictIndex;
}

std::optional<uint32_t> neighbourWordPosition(uint32_t lastReadIndex, uint32_t wordCount,
                                              bool previous) {
  if (wordCount == 0) return std::nullopt;
  if (lastReadIndex > wordCount - 1) lastReadIndex = wordCount - 1;
  if (previous) {
    if (lastReadIndex > 0) return lastReadIndex - 1;
    return std::nullopt;
  }
  if (lastReadIndex < wordCount - 1) return lastReadIndex + 1;
  return std::nullopt;
}

}  // namespace lexora
