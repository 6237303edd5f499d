#include "importers/source_file.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>

namespace lexora::importers {

Status readSourceFile(const std::string& file, std::string& text) {
  // gzread reads a gzip file (a .dict.dz is one) and passes a plain file through unchanged.
  gzFile in = gzopen(file.c_str(), "rb");
  if (in == nullptr) return Status::notFound(file + ": cannot open");
  gzbuffer(in, 1 << 18);
  text.clear();
  // A gzip file ends with the inflated size (modulo 4 GiB): room for all of it at once.
  {
    std::ifstream raw(file, std::ios::binary | std::ios::ate);
    unsigned char tail[4] = {};
    const std::streamoff size = raw ? static_cast<std::streamoff>(raw.tellg()) : 0;
    unsigned char magic[2] = {};
    const bool gzip = raw.seekg(0) && raw.read(reinterpret_cast<char*>(magic), 2) &&
                      magic[0] == 0x1F && magic[1] == 0x8B;
    if (gzip && size > 18 && raw.seekg(size - 4) && raw.read(reinterpret_cast<char*>(tail), 4)) {
      const uint32_t inflated =
          tail[0] | (tail[1] << 8) | (tail[2] << 16) | (uint32_t{tail[3]} << 24);
      if (inflated <= 64 * static_cast<uint64_t>(size)) text.reserve(inflated);
    } else if (!gzip && size > 0) {
      text.reserve(static_cast<size_t>(size));
    }
  }
  std::string chunk(1 << 20, '\0');
  while (true) {
    const int got = gzread(in, chunk.data(), static_cast<unsigned>(chunk.size()));
    if (got < 0) {
      int code = 0;
      const char* message = gzerror(in, &code);
      const std::string why = message != nullptr ? message : "error";
      gzclose(in);
      return Status::corruption(file + ": cannot decompress: " + why);
    }
    if (got == 0) break;
    text.append(chunk.data(), static_cast<size_t>(got));
  }
  // A stream cut short ends like a whole one but leaves an error behind.
  int code = Z_OK;
  const char* message = gzerror(in, &code);
  if (code != Z_OK) {
    const std::string why = message != nullptr ? message : "error";
    gzclose(in);
    return Status::corruption(file + ": cannot decompress: " + why);
  }
  if (gzclose(in) != Z_OK) {
    return Status::corruption(file + ": cannot decompress: the gzip stream is damaged");
  }
  return Status::ok();
}

}  // namespace lexora::importers
