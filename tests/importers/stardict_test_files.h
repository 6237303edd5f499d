#pragma once
// Writes small StarDict dictionaries for the tests: .ifo, .idx (or .idx.gz), .dict (or a
// gzip-compressed .dict.dz) and optionally .syn.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace lexora::test {

struct StardictEntry {
  std::string word;
  std::string data;  // the entry's bytes as stored in .dict
};

struct StardictFiles {
  std::string version = "2.4.2";
  std::string bookname = "Test Book";
  std::string sameTypeSequence;  // empty: every field carries its type letter
  unsigned offsetBits = 32;
  bool gzipIndex = false;
  bool dictzip = false;
  std::vector<StardictEntry> entries;
  std::vector<std::pair<std::string, uint32_t>> synonyms;  // word, index into entries

  static void putBigEndian(std::string& out, uint64_t v, unsigned bytes) {
    for (unsigned i = bytes; i-- > 0;) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  }

  static void writeFile(const std::string& path, const std::string& bytes, bool gzip) {
    if (gzip) {
      gzFile out = gzopen(path.c_str(), "wb9");
      gzwrite(out, bytes.data(), static_cast<unsigned>(bytes.size()));
      gzclose(out);
    } else {
      std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
  }

  // base: the path without an ending ("/tmp/x/book").
  void write(const std::string& base) const {
    std::string dict, idx, syn;
    for (const StardictEntry& e : entries) {
      idx += e.word;
      idx += '\0';
      putBigEndian(idx, dict.size(), offsetBits / 8);
      putBigEndian(idx, e.data.size(), 4);
      dict += e.data;
    }
    for (const auto& [word, target] : synonyms) {
      syn += word;
      syn += '\0';
      putBigEndian(syn, target, 4);
    }
    std::string ifo = "StarDict's dict ifo file\nversion=" + version + "\nbookname=" + bookname +
                      "\nwordcount=" + std::to_string(entries.size()) +
                      "\nidxfilesize=" + std::to_string(idx.size()) + "\n";
    if (offsetBits == 64) ifo += "idxoffsetbits=64\n";
    if (!synonyms.empty()) ifo += "synwordcount=" + std::to_string(synonyms.size()) + "\n";
    if (!sameTypeSequence.empty()) ifo += "sametypesequence=" + sameTypeSequence + "\n";
    ifo += "description=A test<br>dictionary\n";
    writeFile(base + ".ifo", ifo, false);
    writeFile(base + (gzipIndex ? ".idx.gz" : ".idx"), idx, gzipIndex);
    writeFile(base + (dictzip ? ".dict.dz" : ".dict"), dict, dictzip);
    if (!synonyms.empty()) writeFile(base + ".syn", syn, false);
  }
};

}  // namespace lexora::test
