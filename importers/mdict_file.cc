#include "importers/mdict_file.h"

#include <lzo/lzo1x.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "importers/ripemd128.h"
#include "importers/text_encoding.h"
#include "importers/xml_library.h"

namespace lexora::importers {
namespace {

// A decompressed block holds at most this much: far above real blocks (tens of kilobytes),
// and at most what the compressions can inflate its stored bytes to.
constexpr uint64_t kBlockLimit = 64u << 20;
constexpr uint64_t kInflation = 1100;  // zlib's worst ratio is about 1032:1, LZO's far less

uint64_t bigEndian(const unsigned char* p, unsigned bytes) {
  uint64_t v = 0;
  for (unsigned i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

// Reads numbers of `width` bytes from a buffer, failing past its end.
class Fields {
 public:
  Fields(std::string_view data, unsigned width) : data_(data), width_(width) {}
  bool number(uint64_t& v) { return take(width_, v); }
  bool take(unsigned bytes, uint64_t& v) {
    if (data_.size() - at_ < bytes) return false;
    v = bigEndian(reinterpret_cast<const unsigned char*>(data_.data()) + at_, bytes);
    at_ += bytes;
    return true;
  }
  bool text(uint64_t bytes, std::string_view& out) {
    if (data_.size() - at_ < bytes) return false;
    out = data_.substr(at_, bytes);
    at_ += bytes;
    return true;
  }
  bool done() const { return at_ >= data_.size(); }

 private:
  std::string_view data_;
  unsigned width_;
  size_t at_ = 0;
};

std::string attribute(const XmlLibrary& xml, xmlNode* node, const char* name) {
  xmlChar* value = xml.getProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string out = value != nullptr ? reinterpret_cast<const char*>(value) : "";
  xml.free(value);
  return out;
}

std::string charsetOf(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name.empty() || name == "UTF8" || name == "UTF-8") return "UTF-8";
  if (name == "UTF-16" || name == "UTF16" || name == "UTF-16LE") return "UTF-16LE";
  if (name == "GBK" || name == "GB2312" || name == "GB18030") return "GB18030";
  if (name == "BIG5" || name == "BIG-5") return "BIG5";
  return name;
}

// The key index of version 2 with bit 1 of Encrypted: the data after the kind and checksum is
// scrambled with a key made from the checksum.
void unscramble(std::string& block) {
  if (block.size() < 8) return;
  std::string seed = block.substr(4, 4);
  seed += std::string("\x95\x36\x00\x00", 4);
  const std::array<uint8_t, 16> key = ripemd128(seed);
  uint8_t previous = 0x36;
  for (size_t i = 8; i < block.size(); ++i) {
    const auto stored = static_cast<uint8_t>(block[i]);
    const uint8_t swapped = static_cast<uint8_t>((stored >> 4) | (stored << 4));
    const size_t k = i - 8;
    block[i] = static_cast<char>(swapped ^ previous ^ (k & 0xFF) ^ key[k % 16]);
    previous = stored;
  }
}

}  // namespace

Status decodeMdictBlock(std::string_view block, uint64_t expected, std::string& out) {
  if (block.size() < 8) return Status::corruption("a block is shorter than its 8-byte head");
  if (expected > kBlockLimit || expected > (block.size() - 8) * kInflation + 64) {
    return Status::corruption("a block claims " + std::to_string(expected) +
                              " bytes decompressed, more than its " + std::to_string(block.size()) +
                              " stored bytes can hold");
  }
  const auto* p = reinterpret_cast<const unsigned char*>(block.data());
  const uint32_t kind = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
  const auto checksum = static_cast<uint32_t>(bigEndian(p + 4, 4));
  const std::string_view data = block.substr(8);
  out.assign(expected, '\0');
  if (kind == 0) {
    if (data.size() != expected) return Status::corruption("a stored block has the wrong size");
    out.assign(data);
  } else if (kind == 2) {
    uLongf length = static_cast<uLongf>(expected);
    if (::uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                     reinterpret_cast<const Bytef*>(data.data()),
                     static_cast<uLong>(data.size())) != Z_OK ||
        length != expected) {
      return Status::corruption("a zlib block does not inflate to its size");
    }
  } else if (kind == 1) {
    static const bool ready = ::lzo_init() == LZO_E_OK;
    lzo_uint length = static_cast<lzo_uint>(expected);
    if (!ready ||
        ::lzo1x_decompress_safe(reinterpret_cast<const unsigned char*>(data.data()), data.size(),
                                reinterpret_cast<unsigned char*>(out.data()), &length,
                                nullptr) != LZO_E_OK ||
        length != expected) {
      return Status::corruption("an LZO block does not decompress to its size");
    }
  } else {
    return Status::corruption("a block has the unknown compression " + std::to_string(kind));
  }
  if (::adler32(1, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size())) !=
      checksum) {
    return Status::corruption("a block does not match its checksum");
  }
  return Status::ok();
}

Status MdictFile::fail(const std::string& what) const {
  return Status::corruption(path_ + ": " + what);
}

Status MdictFile::readAt(uint64_t offset, uint64_t size, std::string& bytes) {
  if (offset > fileSize_ || size > fileSize_ - offset) {
    return fail("cut short: " + std::to_string(size) + " bytes at offset " +
                std::to_string(offset) + " lie past the end of the file (" +
                std::to_string(fileSize_) + " bytes)");
  }
  bytes.resize(size);
  in_.clear();
  if (!in_.seekg(static_cast<std::streamoff>(offset)) ||
      !in_.read(bytes.data(), static_cast<std::streamsize>(size))) {
    return Status::ioError(path_ + ": cannot read " + std::to_string(size) + " bytes at offset " +
                           std::to_string(offset));
  }
  return Status::ok();
}

Status MdictFile::open(const std::string& path, bool resources) {
  if (Status s = openHeader(path, resources); !s.isOk()) return s;
  if (Status s = readKeys(); !s.isOk()) return s;
  return readRecordTable();
}

Status MdictFile::openHeader(const std::string& path, bool resources) {
  path_ = path;
  resources_ = resources;
  in_.open(path, std::ios::binary);
  if (!in_) return Status::notFound(path + ": cannot open");
  in_.seekg(0, std::ios::end);
  fileSize_ = static_cast<uint64_t>(std::max<std::streamoff>(0, in_.tellg()));
  return readHeader();
}

Status MdictFile::readHeader() {
  std::string head;
  if (fileSize_ < 8) return fail("too short to be an MDict file");
  if (Status s = readAt(0, 4, head); !s.isOk()) return s;
  const uint64_t length = bigEndian(reinterpret_cast<const unsigned char*>(head.data()), 4);
  if (length == 0 || length > (1u << 20) || length + 8 > fileSize_) {
    return fail("not an MDict file (its header length " + std::to_string(length) +
                " does not fit the file)");
  }
  std::string text;
  std::string sum;
  if (Status s = readAt(4, length, text); !s.isOk()) return s;
  if (Status s = readAt(4 + length, 4, sum); !s.isOk()) return s;
  const auto* c = reinterpret_cast<const unsigned char*>(sum.data());
  const uint32_t stored = c[0] | (c[1] << 8) | (c[2] << 16) | (static_cast<uint32_t>(c[3]) << 24);
  if (::adler32(1, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(length)) !=
      stored) {
    return fail("not an MDict file (its header does not match its checksum)");
  }
  position_ = 8 + length;
  std::string xml;
  if (Status s = convertToUtf8(text, "UTF-16LE", xml); !s.isOk())
    return fail("the header is not UTF-16: " + s.message());
  while (!xml.empty() && (xml.back() == '\0' || xml.back() == '\n' || xml.back() == '\r'))
    xml.pop_back();
  const XmlLibrary* library = xmlLibrary();
  if (library == nullptr) return fail("libxml2, which reads MDict headers, cannot be loaded");
  const XmlLibrary& x = *library;
  xmlDocPtr doc =
      x.readMemory(xml.data(), static_cast<int>(xml.size()), nullptr, "UTF-8",
                   XML_PARSE_RECOVER | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NONET);
  xmlNode* root = doc != nullptr ? x.docGetRootElement(doc) : nullptr;
  if (root == nullptr) {
    if (doc != nullptr) x.freeDoc(doc);
    return fail("not an MDict file (its header is not a Dictionary element)");
  }
  const std::string version = attribute(x, root, "GeneratedByEngineVersion");
  const std::string encrypted = attribute(x, root, "Encrypted");
  header_.charset = resources_ ? "UTF-16LE" : charsetOf(attribute(x, root, "Encoding"));
  header_.html = attribute(x, root, "Format") != "Text";
  header_.keyCaseSensitive = attribute(x, root, "KeyCaseSensitive") == "Yes";
  header_.stripKey = attribute(x, root, "StripKey") != "No";
  header_.title = attribute(x, root, "Title");
  header_.description = attribute(x, root, "Description");
  x.freeDoc(doc);
  const double number = std::atof(version.c_str());
  if (number >= 3.0 || number < 1.0) {
    return Status::invalidArgument(path_ + ": MDict version " + version +
                                   " is not one this program reads (2.x or 1.2)");
  }
  header_.version2 = number >= 2.0;
  const int flags = encrypted == "Yes" ? 1 : std::atoi(encrypted.c_str());
  if ((flags & 1) != 0) {
    return Status::invalidArgument(
        path_ +
        ": the dictionary is encrypted for one registered user (its keys need the "
        "owner's registration code), so it cannot be imported");
  }
  scrambled_ = (flags & 2) != 0;
  if (!resources_ && !convertToUtf8("", header_.charset.c_str(), xml).isOk()) {
    return Status::invalidArgument(path_ + ": the text encoding " + header_.charset +
                                   " is not one this system converts");
  }
  return Status::ok();
}

Status MdictFile::readKeys() {
  const bool v2 = header_.version2;
  const unsigned width = v2 ? 8 : 4;
  std::string head;
  if (Status s = readAt(position_, v2 ? 44 : 16, head); !s.isOk()) return s;
  Fields f(head, static_cast<unsigned>(width));
  uint64_t blockCount = 0, entryCount = 0, indexSize = 0, indexStored = 0, blocksSize = 0;
  f.number(blockCount);
  f.number(entryCount);
  if (v2) f.number(indexSize);
  f.number(indexStored);
  f.number(blocksSize);
  if (v2) {
    uint64_t sum = 0;
    f.take(4, sum);
    if (::adler32(1, reinterpret_cast<const Bytef*>(head.data()), 40) != sum)
      return fail("the key section's head does not match its checksum");
  }
  position_ += head.size();
  std::string raw;
  if (Status s = readAt(position_, indexStored, raw); !s.isOk()) return s;
  position_ += indexStored;
  if (blocksSize > fileSize_ - position_) {
    return fail("cut short: the key blocks (" + std::to_string(blocksSize) +
                " bytes) lie past the end of the file");
  }
  std::string keyIndex;
  if (v2) {
    if (scrambled_) unscramble(raw);
    if (Status s = decodeMdictBlock(raw, indexSize, keyIndex); !s.isOk())
      return fail("the key index: " + s.message());
  } else {
    keyIndex = std::move(raw);
  }
  // Room for the keys the header claims, but never more than the blocks can hold nor than a
  // few million: the count is only a hint.
  keys_.reserve(std::min<uint64_t>({entryCount, blocksSize / (width + 1) * kInflation, 1u << 22}));
  if (Status s = readKeyBlocks(keyIndex, blockCount, blocksSize); !s.isOk()) return s;
  position_ += blocksSize;
  return Status::ok();
}

Status MdictFile::readKeyBlocks(const std::string& keyIndex, uint64_t blockCount,
                                uint64_t blocksSize) {
  const bool v2 = header_.version2;
  const unsigned width = v2 ? 8 : 4;
  const unsigned unit = header_.charset == "UTF-16LE" ? 2 : 1;
  Fields f(keyIndex, width);
  std::vector<std::pair<uint64_t, uint64_t>> sizes;  // stored, decompressed
  uint64_t total = 0;
  for (uint64_t b = 0; b < blockCount; ++b) {
    uint64_t count = 0, first = 0, last = 0, stored = 0, size = 0;
    std::string_view skipped;
    if (!f.number(count) || !f.take(v2 ? 2 : 1, first) ||
        !f.text((first + (v2 ? 1 : 0)) * unit, skipped) || !f.take(v2 ? 2 : 1, last) ||
        !f.text((last + (v2 ? 1 : 0)) * unit, skipped) || !f.number(stored) || !f.number(size)) {
      return fail("the key index is cut short at block " + std::to_string(b + 1) + " of " +
                  std::to_string(blockCount));
    }
    if (stored > blocksSize - total) {
      return fail("key block " + std::to_string(b + 1) + " lies past the end of the key blocks");
    }
    total += stored;
    sizes.emplace_back(stored, size);
  }
  if (total != blocksSize) {
    return fail("the key blocks add up to " + std::to_string(total) + " bytes, the section says " +
                std::to_string(blocksSize));
  }
  uint64_t at = position_;
  std::string raw;
  std::string data;
  for (size_t b = 0; b < sizes.size(); ++b) {
    if (Status s = readAt(at, sizes[b].first, raw); !s.isOk()) return s;
    at += sizes[b].first;
    if (Status s = decodeMdictBlock(raw, sizes[b].second, data); !s.isOk())
      return fail("key block " + std::to_string(b + 1) + ": " + s.message());
    const std::string_view all = data;
    size_t pos = 0;
    while (pos < all.size()) {
      uint64_t offset = 0;
      if (!Fields(all.substr(pos), width).number(offset))
        return fail("key block " + std::to_string(b + 1) + " is cut short");
      pos += width;
      size_t end = pos;
      while (end + unit <= all.size() && all.substr(end, unit) != std::string(unit, '\0'))
        end += unit;
      if (end + unit > all.size())
        return fail("key block " + std::to_string(b + 1) + " ends inside a key");
      MdictKey key;
      key.offset = offset;
      if (header_.charset == "UTF-8") {
        key.text.assign(all.substr(pos, end - pos));
      } else {
        if (Status s = convertToUtf8(all.substr(pos, end - pos), header_.charset.c_str(), key.text);
            !s.isOk())
          return fail("key block " + std::to_string(b + 1) + ": " + s.message());
      }
      keys_.push_back(std::move(key));
      pos = end + unit;
    }
  }
  return Status::ok();
}

Status MdictFile::readRecordTable() {
  const unsigned width = header_.version2 ? 8 : 4;
  std::string head;
  if (Status s = readAt(position_, uint64_t{4} * width, head); !s.isOk()) return s;
  Fields f(head, width);
  uint64_t blockCount = 0, entryCount = 0, indexSize = 0, blocksSize = 0;
  f.number(blockCount);
  f.number(entryCount);
  f.number(indexSize);
  f.number(blocksSize);
  position_ += uint64_t{4} * width;
  if (blockCount > fileSize_ / (uint64_t{2} * width) || indexSize != blockCount * 2 * width) {
    return fail("the record table's size (" + std::to_string(indexSize) + " bytes) does not fit " +
                std::to_string(blockCount) + " blocks");
  }
  std::string table;
  if (Status s = readAt(position_, indexSize, table); !s.isOk()) return s;
  position_ += indexSize;
  if (blocksSize > fileSize_ - position_) {
    return fail("cut short: the record blocks (" + std::to_string(blocksSize) +
                " bytes) lie past the end of the file");
  }
  Fields t(table, width);
  uint64_t stored = 0, start = 0, offset = position_;
  for (uint64_t b = 0; b < blockCount; ++b) {
    RecordBlock block;
    t.number(block.stored);
    t.number(block.size);
    if (block.stored > blocksSize - stored) {
      return fail("record block " + std::to_string(b + 1) + " lies past the end of the records");
    }
    block.fileOffset = offset;
    block.start = start;
    offset += block.stored;
    stored += block.stored;
    start += block.size;
    blocks_.push_back(block);
  }
  if (stored != blocksSize) {
    return fail("the record blocks add up to " + std::to_string(stored) +
                " bytes, the section says " + std::to_string(blocksSize));
  }
  // A record runs to the next record's start, in offset order; the last to the end.
  std::vector<size_t> order(keys_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return keys_[a].offset < keys_[b].offset; });
  ends_.assign(keys_.size(), start);
  for (size_t k = 0; k < order.size(); ++k) {
    size_t next = k + 1;
    while (next < order.size() && keys_[order[next]].offset == keys_[order[k]].offset) ++next;
    if (next < order.size()) ends_[order[k]] = keys_[order[next]].offset;
  }
  return Status::ok();
}

Status MdictFile::loadRecordBlock(size_t block) {
  if (cached_ == block) return Status::ok();
  cached_ = SIZE_MAX;
  std::string raw;
  if (Status s = readAt(blocks_[block].fileOffset, blocks_[block].stored, raw); !s.isOk()) return s;
  if (Status s = decodeMdictBlock(raw, blocks_[block].size, cache_); !s.isOk())
    return fail("record block " + std::to_string(block + 1) + ": " + s.message());
  cached_ = block;
  return Status::ok();
}

Status MdictFile::record(size_t index, std::string& bytes) {
  bytes.clear();
  const uint64_t start = keys_[index].offset;
  const uint64_t total = blocks_.empty() ? 0 : blocks_.back().start + blocks_.back().size;
  if (start >= total && !(start == total && ends_[index] == total)) {
    return fail("the record of '" + keys_[index].text + "' lies past the end of the records");
  }
  if (start == total) return Status::ok();
  // The block that holds the start: the last one starting at or before it.
  const auto it = std::upper_bound(blocks_.begin(), blocks_.end(), start,
                                   [](uint64_t v, const RecordBlock& b) { return v < b.start; });
  const size_t block = static_cast<size_t>(it - blocks_.begin()) - 1;
  if (Status s = loadRecordBlock(block); !s.isOk()) return s;
  const uint64_t within = start - blocks_[block].start;
  const uint64_t end = std::min(ends_[index], blocks_[block].start + blocks_[block].size);
  bytes.assign(cache_, within, end - start);
  return Status::ok();
}

}  // namespace lexora::importers
