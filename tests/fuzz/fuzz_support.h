#pragma once
// What the fuzz targets share: a scratch folder of their own (in memory where the system has
// one) and the split of one input into several files.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace lexora::fuzz {

// The targets drive operations that are expected to fail on damaged input: any result is
// fine, only a crash or a sanitizer's report is not.
template <typename Result>
void anyResult(const Result&) {}

inline const std::string& scratchFolder() {
  static const std::string folder = [] {
    std::string pattern =
        std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/lexora-fuzz-XXXXXX";
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string("/tmp");
  }();
  return folder;
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The input as parts: n - 1 parts each preceded by a u32 little-endian length (cut to what is
// left), then the rest. Short inputs give empty parts.
inline std::vector<std::string_view> splitInput(const uint8_t* data, size_t size, size_t n) {
  std::vector<std::string_view> parts;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (size_t i = 0; i + 1 < n; ++i) {
    uint32_t length = 0;
    for (int b = 0; b < 4 && !rest.empty(); ++b) {
      length |= static_cast<uint32_t>(static_cast<uint8_t>(rest[0])) << (8 * b);
      rest.remove_prefix(1);
    }
    const size_t take = std::min<size_t>(length, rest.size());
    parts.push_back(rest.substr(0, take));
    rest.remove_prefix(take);
  }
  parts.push_back(rest);
  return parts;
}

// Splits the input into one part per suffix and writes part k to base + suffix k.
inline void writeParts(const uint8_t* data, size_t size, const std::string& base,
                       std::initializer_list<const char*> suffixes) {
  const std::vector<std::string_view> parts = splitInput(data, size, suffixes.size());
  size_t k = 0;
  for (const char* suffix : suffixes) writeBytes(base + suffix, parts[k++]);
}

// The input read as UTF-16 units, two bytes each, little-endian.
inline std::u16string asUtf16(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return text;
}

}  // namespace lexora::fuzz
