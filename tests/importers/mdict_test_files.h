#pragma once
// Writes small MDict files (.mdx or .mdd) for the tests: version 2.0 or 1.2, blocks stored,
// LZO or zlib, the key index scrambled or not.

#include <lzo/lzo1x.h>
#include <zlib.h>

#include <string>
#include <utility>
#include <vector>

#include "importers/ripemd128.h"
#include "util/standard_utf8.h"

namespace lexora::test {

struct MdictFiles {
  bool version2 = true;
  int compression = 2;  // 0 stored, 1 LZO, 2 zlib
  bool scramble = false;
  int encrypted = -1;      // the header's Encrypted value; -1: 2 when scrambled, else 0
  bool resources = false;  // an .mdd: keys in UTF-16LE
  std::string attributes = "Encoding=\"UTF-8\" Format=\"Html\" Title=\"Test\"";
  std::vector<std::pair<std::string, std::string>> records;  // key and record, as stored

  std::string build() const {
    const unsigned width = version2 ? 8 : 4;
    const std::string nul = resources || attributes.find("UTF-16") != std::string::npos
                                ? std::string(2, '\0')
                                : std::string(1, '\0');
    // Records in two blocks; keys in two blocks.
    std::string recordData[2];
    std::string keyData[2];
    size_t keyCount[2] = {0, 0};
    uint64_t offset = 0;
    for (size_t i = 0; i < records.size(); ++i) {
      const int half = i * 2 < records.size() ? 0 : 1;
      recordData[half] += records[i].second;
      keyData[half] += number(offset, width) + records[i].first + nul;
      ++keyCount[half];
      offset += records[i].second.size();
    }
    std::string keyIndex;
    std::string keyBlocks;
    for (int b = 0; b < 2; ++b) {
      const std::string stored = block(keyData[b]);
      keyIndex += number(keyCount[b], width);
      for (int end = 0; end < 2; ++end) {  // first and last key: left empty
        keyIndex += number(0, version2 ? 2 : 1);
        if (version2) keyIndex += nul;
      }
      keyIndex += number(stored.size(), width) + number(keyData[b].size(), width);
      keyBlocks += stored;
    }
    std::string out = header();
    std::string keyHead = number(2, width) + number(records.size(), width);
    std::string storedIndex = keyIndex;
    if (version2) {
      storedIndex = block(keyIndex);
      if (scramble) scrambleBlock(storedIndex);
      keyHead += number(keyIndex.size(), width);
    }
    keyHead += number(storedIndex.size(), width) + number(keyBlocks.size(), width);
    if (version2) keyHead += number(adler(keyHead), 4);
    out += keyHead + storedIndex + keyBlocks;
    std::string table;
    std::string blocks;
    for (const std::string& data : recordData) {
      const std::string stored = block(data);
      table += number(stored.size(), width) + number(data.size(), width);
      blocks += stored;
    }
    out += number(2, width) + number(records.size(), width) + number(table.size(), width) +
           number(blocks.size(), width) + table + blocks;
    return out;
  }

  static std::string number(uint64_t v, unsigned bytes) {
    std::string out(bytes, '\0');
    for (unsigned i = 0; i < bytes; ++i) out[bytes - 1 - i] = static_cast<char>(v >> (8 * i));
    return out;
  }
  static uint32_t adler(const std::string& data) {
    return static_cast<uint32_t>(
        ::adler32(1, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
  }
  static std::string utf16(const std::string& text) {
    std::string out;
    for (char16_t c : fromUtf8(text)) {
      out += static_cast<char>(c & 0xFF);
      out += static_cast<char>(c >> 8);
    }
    return out;
  }

 private:
  std::string header() const {
    const std::string xml = std::string("<") + (resources ? "Library_Data" : "Dictionary") +
                            " GeneratedByEngineVersion=\"" + (version2 ? "2.0" : "1.2") +
                            "\" Encrypted=\"" +
                            std::to_string(encrypted >= 0 ? encrypted
                                           : scramble     ? 2
                                                          : 0) +
                            "\" " + attributes + "/>\r\n";
    const std::string text = utf16(xml) + std::string(2, '\0');
    std::string sum = number(adler(text), 4);
    return number(text.size(), 4) + text + std::string(sum.rbegin(), sum.rend());
  }

  std::string block(const std::string& data) const {
    std::string out = std::string(1, static_cast<char>(compression)) + std::string(3, '\0') +
                      number(adler(data), 4);
    if (compression == 0) return out + data;
    if (compression == 2) {
      uLongf size = compressBound(data.size());
      std::string packed(size, '\0');
      compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                reinterpret_cast<const Bytef*>(data.data()), data.size(), 9);
      return out + packed.substr(0, size);
    }
    lzo_init();
    std::string packed(data.size() + data.size() / 16 + 128, '\0');
    std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
    lzo_uint size = 0;
    lzo1x_1_compress(reinterpret_cast<const unsigned char*>(data.data()), data.size(),
                     reinterpret_cast<unsigned char*>(packed.data()), &size, work.data());
    return out + packed.substr(0, size);
  }

  static void scrambleBlock(std::string& b) {
    const std::array<uint8_t, 16> key =
        importers::ripemd128(b.substr(4, 4) + std::string("\x95\x36\x00\x00", 4));
    uint8_t previous = 0x36;
    for (size_t i = 8; i < b.size(); ++i) {
      const size_t k = i - 8;
      const auto plain = static_cast<uint8_t>(b[i] ^ previous ^ (k & 0xFF) ^ key[k % 16]);
      const auto stored = static_cast<uint8_t>((plain >> 4) | (plain << 4));
      b[i] = static_cast<char>(stored);
      previous = stored;
    }
  }
};

}  // namespace lexora::test
