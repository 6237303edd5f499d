#pragma once
// Reading a whole source file into memory: a gzip file (a dictd ".dict.dz", a StarDict
// ".idx.gz" or ".dict.dz") is inflated, any other file is read as it is.
//
// Sources come from anywhere, so what they may cost is bounded: only regular files are read
// (a device never ends, a pipe may never start), a whole source inflates to at most
// kMaxSourceBytes and one entry's source text holds at most kMaxEntrySourceBytes; both lie
// far above any real dictionary (a dictionary file holds about 66 MB of meaning text).

#include <cstdint>
#include <string>

#include "util/status.h"

namespace lexora::importers {

inline constexpr uint64_t kMaxSourceBytes = uint64_t{1} << 30;
inline constexpr uint64_t kMaxEntrySourceBytes = uint64_t{16} << 20;

// Fails with a reason naming the file unless it is a regular file (links followed).
Status checkSourceFile(const std::string& file);

// The whole (decompressed) content of `file`, at most `limit` bytes; on failure a reason that
// names the file.
Status readSourceFile(const std::string& file, std::string& text, uint64_t limit = kMaxSourceBytes);

}  // namespace lexora::importers
