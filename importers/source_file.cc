#include "importers/source_file.h"

#include <sys/stat.h>
#include <zlib.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace lexora::importers {

Status checkSourceFile(const std::string& file) {
  struct stat st;
  if (::stat(file.c_str(), &st) != 0) {
    return errno == ENOENT ? Status::notFound(file + ": cannot open: no such file")
                           : Status::ioError(file + ": cannot open: " + std::strerror(errno));
  }
  if (!S_ISREG(st.st_mode)) {
    return Status::invalidArgument(file + ": not a regular file (" +
                                   (S_ISDIR(st.st_mode) ? "a folder" : "a device or a pipe") +
                                   "): only files are read");
  }
  return Status::ok();
}

namespace {

// A gzip stream closed on every way out, running out of memory included.
class GzipInput {
 public:
  explicit GzipInput(const std::string& file) : in_(gzopen(file.c_str(), "rb")) {}
  ~GzipInput() {
    if (in_ != nullptr) gzclose(in_);
  }
  GzipInput(const GzipInput&) = delete;
  GzipInput& operator=(const GzipInput&) = delete;
  gzFile get() const { return in_; }
  int close() {
    const int result = gzclose(in_);
    in_ = nullptr;
    return result;
  }

 private:
  gzFile in_;
};

Status readWhole(const std::string& file, std::string& text, uint64_t limit) {
  if (Status s = checkSourceFile(file); !s.isOk()) return s;
  // gzread reads a gzip file (a .dict.dz is one) and passes a plain file through unchanged.
  GzipInput input(file);
  gzFile in = input.get();
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
      if (inflated <= 64 * static_cast<uint64_t>(size) && inflated <= limit) text.reserve(inflated);
    } else if (!gzip && size > 0 && static_cast<uint64_t>(size) <= limit) {
      text.reserve(static_cast<size_t>(size));
    }
  }
  std::string chunk(1 << 20, '\0');
  while (true) {
    const int got = gzread(in, chunk.data(), static_cast<unsigned>(chunk.size()));
    if (got < 0) {
      int code = 0;
      const char* message = gzerror(in, &code);
      return Status::corruption(file +
                                ": cannot decompress: " + (message != nullptr ? message : "error"));
    }
    if (got == 0) break;
    if (text.size() + static_cast<uint64_t>(got) > limit) {
      text.clear();
      const std::string most = limit >= (1u << 20) ? std::to_string(limit >> 20) + " MB"
                                                   : std::to_string(limit) + " bytes";
      return Status::invalidArgument(file + ": holds more than " + most +
                                     ", far more than any dictionary: not read");
    }
    text.append(chunk.data(), static_cast<size_t>(got));
  }
  // A stream cut short ends like a whole one but leaves an error behind.
  int code = Z_OK;
  const char* message = gzerror(in, &code);
  if (code != Z_OK) {
    return Status::corruption(file +
                              ": cannot decompress: " + (message != nullptr ? message : "error"));
  }
  if (input.close() != Z_OK) {
    return Status::corruption(file + ": cannot decompress: the gzip stream is damaged");
  }
  return Status::ok();
}

}  // namespace

Status readSourceFile(const std::string& file, std::string& text, uint64_t limit) {
  Status s = readWhole(file, text, limit);
  if (!s.isOk()) std::string().swap(text);  // a failed read leaves nothing, not a part
  return s;
}

}  // namespace lexora::importers
