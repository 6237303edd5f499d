#include "importers/resource_store.h"

#include <filesystem>
#include <fstream>

#include "importers/entry_sink.h"
#include "importers/media_archive.h"

namespace lexora::importers {

namespace fs = std::filesystem;

std::string storedResourceName(std::string_view name) {
  std::string out;
  std::string part;
  auto endPart = [&] {
    if (!part.empty() && part.front() != '.') {
      if (!out.empty()) out += '/';
      out += part;
    }
    part.clear();
  };
  for (char c : name) {
    if (c == '/' || c == '\\') {
      endPart();
      continue;
    }
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') {
      part += static_cast<char>(u - 'A' + 'a');
    } else if ((u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || c == '.' || c == '-' ||
               c == '_') {
      part += c;
    } else if (u < 0x80 || (u & 0xC0) != 0x80) {
      part += '_';  // one per character: continuation bytes of UTF-8 add none
    }
  }
  endPart();
  if (out.size() > 200) out.erase(0, out.size() - 200);
  while (!out.empty() && (out.front() == '/' || out.front() == '.')) out.erase(0, 1);
  return out;
}

std::string storeMediaLine(std::string_view name, MediaArchive& media, ResourceStore& store,
                           SourceInfo& info, std::string& why) {
  why.clear();
  if (storedResourceName(name).empty()) {
    ++info.resourcesSkipped;
    return {};
  }
  if (!store.has(name)) {
    std::string bytes;
    if (!media.read(name, bytes)) {
      ++info.resourcesSkipped;
      return {};
    }
    if (Status s = store.put(name, bytes); !s.isOk()) {
      why = s.message();
      return {};
    }
  }
  return ResourceStore::mediaLine(name);
}

std::string ResourceStore::mediaLine(std::string_view name) {
  return std::string(kMediaLineLead) + storedResourceName(name);
}

Status ResourceStore::put(std::string_view name, std::string_view bytes) {
  const std::string stored = storedResourceName(name);
  if (stored.empty()) return Status::invalidArgument("'" + std::string(name) + "': no usable name");
  if (stored_.count(stored) != 0) return Status::ok();
  const fs::path path = fs::path(folder_) / stored;
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  if (ec) return Status::ioError(path.parent_path().string() + ": cannot create: " + ec.message());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return Status::ioError(path.string() + ": cannot write");
  stored_.emplace(stored, true);
  bytes_ += bytes.size();
  return Status::ok();
}

}  // namespace lexora::importers
