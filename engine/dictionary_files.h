#pragma once
// The three open files of a dictionary, their locks, and the one pair of transfer routines
// through which every read and write of them goes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/file_format.h"
#include "engine/file_page_cache.h"

namespace lexora {

enum class DictionaryFile { Index, Word, Data };

class DictionaryFiles {
 public:
  // Transfers set ioFailed (cleared by a full transfer) and describe failures in error.
  DictionaryFiles(bool& ioFailed, std::string& error);
  ~DictionaryFiles();
  DictionaryFiles(const DictionaryFiles&) = delete;
  DictionaryFiles& operator=(const DictionaryFiles&) = delete;

  // Opens the three existing files for reading and writing; a file that cannot be opened for
  // writing is opened read-only instead (writes to it then fail). Each file is locked, so a
  // second opener (another Dictionary, or another program) is refused. False: nothing open.
  bool open(const FileSetNames& names);

  // Creates the three files, or empties existing ones, after locking them; a file set that is
  // held open elsewhere is left untouched. False: nothing open.
  bool create(const FileSetNames& names);

  void close();  // closing closed files does nothing
  bool isOpen() const { return fds_[0] >= 0; }
  bool isReadOnly() const { return readOnly_; }

  // The transfer pair: position at an absolute offset, then move exactly count bytes.
  // Fewer bytes than asked (for example, reading past the end) is a failure.
  // The index and word files are read through a page cache that writes keep current; the
  // data file, read a whole block at a time, is read directly.
  bool read(DictionaryFile file, uint32_t offset, void* buffer, size_t count);
  bool write(DictionaryFile file, uint32_t offset, const void* buffer, size_t count);

  bool size(DictionaryFile file, uint64_t& bytes);
  bool truncate(DictionaryFile file, uint32_t length);
  bool flush(DictionaryFile file);

  const std::string& name(DictionaryFile file) const { return names_[slot(file)]; }

 private:
  static int slot(DictionaryFile file) { return static_cast<int>(file); }
  bool openAll(const FileSetNames& names, bool create);
  bool fail(const std::string& message);

  bool& ioFailed_;
  std::string& error_;
  int fds_[3] = {-1, -1, -1};
  std::string names_[3];
  bool readOnly_ = false;
  FilePageCache pageCaches_[2];  // index file, word file
};

}  // namespace lexora
