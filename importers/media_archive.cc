#include "importers/media_archive.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "importers/zip_library.h"
#include "util/folder_path.h"

namespace lexora::importers {

namespace fs = std::filesystem;

MediaArchive::MediaArchive(const std::string& dslFile) {
  std::error_code ec;
  for (const std::string& base : {dslFile, dslFile.substr(0, dslFile.rfind(".dz"))}) {
    if (zip_ == nullptr && fs::is_regular_file(base + ".files.zip", ec)) {
      openZip(base + ".files.zip");
    }
    if (folder_.empty() && fs::is_directory(base + ".files", ec)) folder_ = base + ".files";
  }
}

MediaArchive::MediaArchive(const std::string& zipFile, const std::string& folder) {
  std::error_code ec;
  if (!zipFile.empty() && fs::is_regular_file(zipFile, ec)) openZip(zipFile);
  if (!folder.empty() && fs::is_directory(folder, ec)) folder_ = folder;
}

MediaArchive::~MediaArchive() {
  if (zip_ != nullptr) zipLibrary()->discard(zip_);
}

void MediaArchive::openZip(const std::string& file) {
  // Without libzip the archive reads as absent, as an unreadable one does.
  const ZipLibrary* z = zipLibrary();
  int error = 0;
  if (z != nullptr) zip_ = z->open(file.c_str(), ZIP_RDONLY, &error);
}

bool MediaArchive::read(std::string_view name, std::string& bytes) {
  bytes.clear();
  const std::string wanted(name);
  if (zip_ != nullptr) {
    const ZipLibrary& z = *zipLibrary();  // loaded: it opened the archive
    // The name with its folders; else the file name in any folder of the archive.
    zip_int64_t index = z.nameLocate(zip_, wanted.c_str(), ZIP_FL_NOCASE);
    if (index < 0) {
      const std::string file = wanted.substr(wanted.find_last_of("/\\") + 1);
      index = z.nameLocate(zip_, file.c_str(), ZIP_FL_NOCASE | ZIP_FL_NODIR);
    }
    zip_stat_t stat;
    if (index >= 0 && z.statIndex(zip_, static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size <= kMediaFileLimit) {
      zip_file_t* file = z.fopenIndex(zip_, static_cast<zip_uint64_t>(index), 0);
      if (file != nullptr) {
        bytes.resize(stat.size);
        const zip_int64_t got = z.fread(file, bytes.data(), stat.size);
        z.fclose(file);
        if (got == static_cast<zip_int64_t>(stat.size)) return true;
      }
    }
    bytes.clear();
  }
  return !folder_.empty() && readFromFolder(name, bytes);
}

bool MediaArchive::readFromFolder(std::string_view name, std::string& bytes) {
  const std::optional<fs::path> inFolder = relativeInFolder(name);
  if (!inFolder) return false;
  const fs::path& relative = *inFolder;
  std::error_code ec;
  fs::path path = fs::path(folder_) / relative;
  if (!fs::is_regular_file(path, ec)) {
    // Another case of the same name.
    path.clear();
    const std::string lower = fs::path(std::string(name)).filename().string();
    for (fs::directory_iterator it(fs::path(folder_) / relative.parent_path(), ec), end;
         !ec && it != end; it.increment(ec)) {
      const std::string candidate = it->path().filename().string();
      if (candidate.size() == lower.size() &&
          std::equal(candidate.begin(), candidate.end(), lower.begin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) ==
                   std::tolower(static_cast<unsigned char>(b));
          })) {
        path = it->path();
        break;
      }
    }
    if (path.empty() || !fs::is_regular_file(path, ec)) return false;
  }
  // A link could lead anywhere: only the folder's own files are read, through no linked
  // subfolder either.
  if (fs::is_symlink(fs::symlink_status(path, ec))) return false;
  // The folder's real path is worked out once: it does not change while an import reads.
  if (realFolder_.empty()) realFolder_ = realFolder(folder_);
  if (!resolvesInto(path, realFolder_)) return false;
  const uintmax_t size = fs::file_size(path, ec);
  if (ec || size > kMediaFileLimit) return false;
  std::ifstream in(path, std::ios::binary);
  bytes.resize(size);
  return static_cast<bool>(in.read(bytes.data(), static_cast<std::streamsize>(size)));
}

}  // namespace lexora::importers
