#pragma once
// The three open files of a dictionary, their locks, and the one set of transfer routines
// through which every read and write of them goes.
//
// Changes are made in transactions: between begin() and commit() writes and truncations are
// held in memory (reads see them), and commit() makes them all or nothing with a rollback
// journal beside the data file:
//   1. the old bytes of every range about to be overwritten or cut off, and the old lengths,
//      go to the journal, which is flushed (and its folder with it);
//   2. the changes are written into the files, which are flushed;
//   3. the journal is removed (and the folder flushed).
// Opening a dictionary whose journal is still there (its last write died) rolls it back first;
// when the files cannot be written, the rollback is applied in memory and the dictionary is
// read-only.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/file.h"
#include "engine/file_format.h"
#include "engine/file_page_cache.h"

namespace lexora {

enum class DictionaryFile { Index, Word, Data };

class DictionaryFiles {
 public:
  DictionaryFiles();
  ~DictionaryFiles();
  DictionaryFiles(const DictionaryFiles&) = delete;
  DictionaryFiles& operator=(const DictionaryFiles&) = delete;

  // The file system used by later opens (the system's own unless changed).
  void setFileSystem(FileSystem& fileSystem) { fs_ = &fileSystem; }

  // Opens the three existing files for reading and writing; a file that cannot be opened for
  // writing is opened read-only instead (writes to it then fail). Each file is locked, so a
  // second opener (another Dictionary, or another program) is refused. A journal left by a
  // write that died is rolled back. On failure nothing is open.
  Status open(const FileSetNames& names);

  // Opens the three files to replace their contents, creating those that are missing, after
  // locking them; a file set held open elsewhere is left untouched. The contents change only
  // through a transaction, so an interrupted replace gives back the old files (and removes
  // the ones it created). On failure nothing is open.
  Status openForReplace(const FileSetNames& names);

  void close();  // closing closed files does nothing; a running transaction is dropped
  bool isOpen() const { return files_[0] != nullptr; }
  bool isReadOnly() const { return readOnly_; }

  // Position at an absolute offset, then move exactly count bytes. Fewer bytes than asked
  // (for example, reading past the end) is a failure. The index and word files are read
  // through a page cache that writes keep current; the data file is read directly.
  Status read(DictionaryFile file, uint64_t offset, void* buffer, size_t count);
  Status write(DictionaryFile file, uint64_t offset, const void* buffer, size_t count);
  Status size(DictionaryFile file, uint64_t& bytes);
  Status truncate(DictionaryFile file, uint64_t length);
  Status flush(DictionaryFile file);  // inside a transaction, commit flushes

  void begin();
  // Writes the transaction's changes as described above. On failure nothing has changed
  // (the changes were rolled back, or the journal stays and the next opening rolls back)
  // and failedFile names the file whose write failed first.
  Status commit(DictionaryFile* failedFile = nullptr);
  void abandon();  // drops the transaction's changes

  const std::string& name(DictionaryFile file) const { return names_[slot(file)]; }

 private:
  struct Change {
    int file = 0;
    bool truncation = false;
    uint64_t offset = 0;  // the new length for a truncation
    std::vector<uint8_t> bytes;
  };

  static int slot(DictionaryFile file) { return static_cast<int>(file); }
  Status openAll(const FileSetNames& names, bool forReplace);
  // Refused because nothing is open, the files are read-only, or an earlier commit could not
  // be undone (ok otherwise); what names the attempt ("cannot write 4 bytes at ...").
  Status refuseChange(int file, const std::string& what) const;

  // Reads the files as they are on disk.
  Status readDisk(int file, uint64_t offset, uint8_t* out, size_t count);
  Status writeDisk(int file, uint64_t offset, const uint8_t* in, size_t count);
  Status truncateDisk(int file, uint64_t length);
  bool touches(const std::vector<Change>& changes, int file) const;
  // Reads with the given changes laid over the disk's bytes.
  Status readThrough(int file, uint64_t offset, uint8_t* out, size_t count);
  Status logicalSize(int file, uint64_t& bytes);

  Status recover();  // rolls back a journal left by a write that died
  Status applyJournal(const struct Journal& journal, bool removeCreatedFiles);

  FileSystem* fs_;
  std::unique_ptr<File> files_[3];
  std::string names_[3];
  std::string journalName_;
  bool readOnly_ = false;
  bool existed_[3] = {true, true, true};
  bool inTransaction_ = false;
  bool broken_ = false;  // a failed commit could not be rolled back: only reopening helps
  // The last opening for a replace found an interrupted creation and removed its files.
  bool creationUndone_ = false;
  std::vector<Change> pending_;     // the running transaction
  std::vector<Change> rolledBack_;  // a journal applied in memory (read-only files)
  FilePageCache pageCaches_[2];     // index file, word file
};

}  // namespace lexora
