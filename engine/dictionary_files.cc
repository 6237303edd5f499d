#include "engine/dictionary_files.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/journal.h"

namespace lexora {
namespace {

constexpr int kOpenOrder[3] = {1, 2, 0};  // word file, data file, index file
constexpr int kLockOrder[3] = {0, 1, 2};  // index file first

struct Interval {
  uint64_t begin;
  uint64_t end;
};

// Sorted, merged intervals.
std::vector<Interval> merged(std::vector<Interval> v) {
  std::sort(v.begin(), v.end(),
            [](const Interval& a, const Interval& b) { return a.begin < b.begin; });
  std::vector<Interval> out;
  for (const Interval& i : v) {
    if (i.begin >= i.end) continue;
    if (!out.empty() && i.begin <= out.back().end) {
      out.back().end = std::max(out.back().end, i.end);
    } else {
      out.push_back(i);
    }
  }
  return out;
}

}  // namespace

DictionaryFiles::DictionaryFiles() : fs_(&systemFileSystem()) {}

DictionaryFiles::~DictionaryFiles() { close(); }

Status DictionaryFiles::open(const FileSetNames& names) { return openAll(names, false); }

Status DictionaryFiles::openForReplace(const FileSetNames& names) {
  // An interrupted creation found at the first attempt is undone by removing its files; the
  // second attempt then creates them afresh.
  Status s = openAll(names, true);
  if (!s.isOk() && creationUndone_) s = openAll(names, true);
  return s;
}

Status DictionaryFiles::openAll(const FileSetNames& names, bool forReplace) {
  close();
  creationUndone_ = false;
  names_[slot(DictionaryFile::Index)] = names.indexFile;
  names_[slot(DictionaryFile::Word)] = names.wordFile;
  names_[slot(DictionaryFile::Data)] = names.dataFile;
  journalName_ = journalName(names.dataFile);
  std::unique_ptr<File> files[3];
  bool existed[3] = {true, true, true};
  bool readOnly = false;

  for (int i : kOpenOrder) {
    Status s = fs_->open(names_[i], OpenMode::ReadWrite, files[i]);
    if (forReplace && s.code() == Status::Code::NotFound) {
      existed[i] = false;
      s = fs_->open(names_[i], OpenMode::ReadWriteCreate, files[i]);
    }
    if (!s.isOk()) return s;
    if (files[i]->isReadOnly()) {
      if (forReplace)
        return Status::readOnly("cannot replace " + names_[i] + ": the file is read-only");
      readOnly = true;
    }
  }

  // The three names must be three different files (a data file named like its index file
  // would lock against itself).
  uint64_t device[3], inode[3];
  for (int i = 0; i < 3; ++i) {
    if (Status s = files[i]->identity(device[i], inode[i]); !s.isOk()) return s;
  }
  for (int i = 0; i < 3; ++i) {
    for (int j = i + 1; j < 3; ++j) {
      if (device[i] == device[j] && inode[i] == inode[j]) {
        return Status::invalidArgument(
            "cannot open " + names.dataFile +
            ": the data file must not be the dictionary's word or index file");
      }
    }
  }

  // Locks belong to the open file description, so a second open in this process is refused
  // as well as one in another program.
  for (int i : kLockOrder) {
    if (Status s = files[i]->lock(); !s.isOk()) return s;
  }

  for (int i = 0; i < 3; ++i) {
    files_[i] = std::move(files[i]);
    existed_[i] = existed[i];
  }
  readOnly_ = readOnly;
  if (Status s = recover(); !s.isOk()) {
    close();
    creationUndone_ = forReplace && s.code() == Status::Code::NotFound;
    return s;
  }
  return Status::ok();
}

void DictionaryFiles::close() {
  for (FilePageCache& cache : pageCaches_) cache.clear();
  for (auto& file : files_) file.reset();
  readOnly_ = false;
  inTransaction_ = false;
  broken_ = false;
  pending_.clear();
  rolledBack_.clear();
}

// ---- The disk ----

Status DictionaryFiles::readDisk(int file, uint64_t offset, uint8_t* out, size_t count) {
  if (file != slot(DictionaryFile::Data)) {
    return pageCaches_[file].read(*files_[file], offset, out, count);
  }
  return files_[file]->read(offset, out, count);
}

Status DictionaryFiles::writeDisk(int file, uint64_t offset, const uint8_t* in, size_t count) {
  if (file != slot(DictionaryFile::Data)) pageCaches_[file].invalidate(offset, count);
  return files_[file]->write(offset, in, count);
}

Status DictionaryFiles::truncateDisk(int file, uint64_t length) {
  if (file != slot(DictionaryFile::Data)) pageCaches_[file].truncated(length);
  return files_[file]->truncate(length);
}

// ---- Reads through pending changes ----

bool DictionaryFiles::touches(const std::vector<Change>& changes, int file) const {
  return std::any_of(changes.begin(), changes.end(),
                     [file](const Change& c) { return c.file == file; });
}

Status DictionaryFiles::logicalSize(int file, uint64_t& bytes) {
  if (Status s = files_[file]->size(bytes); !s.isOk()) return s;
  for (const std::vector<Change>* changes : {&rolledBack_, &pending_}) {
    for (const Change& c : *changes) {
      if (c.file != file) continue;
      bytes = c.truncation ? c.offset : std::max<uint64_t>(bytes, c.offset + c.bytes.size());
    }
  }
  return Status::ok();
}

Status DictionaryFiles::readThrough(int file, uint64_t offset, uint8_t* out, size_t count) {
  if (!touches(rolledBack_, file) && !touches(pending_, file)) {
    return readDisk(file, offset, out, count);
  }
  uint64_t diskLength = 0;
  uint64_t length = 0;
  if (Status s = files_[file]->size(diskLength); !s.isOk()) return s;
  if (Status s = logicalSize(file, length); !s.isOk()) return s;
  if (offset > length || count > length - offset) {
    return Status::ioError("cannot read " + std::to_string(count) + " bytes at offset " +
                           std::to_string(offset) + " of " + names_[file] +
                           ": the file ends first");
  }
  const uint64_t end = offset + count;
  std::memset(out, 0, count);
  if (offset < diskLength) {
    const size_t n = static_cast<size_t>(std::min(end, diskLength) - offset);
    if (Status s = readDisk(file, offset, out, n); !s.isOk()) return s;
  }
  for (const std::vector<Change>* changes : {&rolledBack_, &pending_}) {
    for (const Change& c : *changes) {
      if (c.file != file) continue;
      if (c.truncation) {
        // Bytes past a cut read as zeros should the file grow again.
        if (c.offset < end) {
          const uint64_t from = std::max(c.offset, offset);
          std::memset(out + (from - offset), 0, static_cast<size_t>(end - from));
        }
        continue;
      }
      const uint64_t from = std::max(c.offset, offset);
      const uint64_t to = std::min<uint64_t>(c.offset + c.bytes.size(), end);
      if (from < to) {
        std::memcpy(out + (from - offset), c.bytes.data() + (from - c.offset),
                    static_cast<size_t>(to - from));
      }
    }
  }
  return Status::ok();
}

// ---- Transfers ----

Status DictionaryFiles::refuseChange(int file, const std::string& what) const {
  if (!files_[file]) return Status::ioError(what + "the dictionary is not open");
  if (readOnly_) return Status::readOnly(what + "the dictionary is read-only");
  if (broken_) return Status::ioError(what + "an earlier write failed; reopen the dictionary");
  return Status::ok();
}

Status DictionaryFiles::read(DictionaryFile file, uint64_t offset, void* buffer, size_t count) {
  const int f = slot(file);
  if (!files_[f])
    return Status::ioError("cannot read " + name(file) + ": the dictionary is not open");
  return readThrough(f, offset, static_cast<uint8_t*>(buffer), count);
}

Status DictionaryFiles::write(DictionaryFile file, uint64_t offset, const void* buffer,
                              size_t count) {
  const int f = slot(file);
  const std::string what = "cannot write " + std::to_string(count) + " bytes at offset " +
                           std::to_string(offset) + " of " + name(file) + ": ";
  if (Status s = refuseChange(f, what); !s.isOk()) return s;
  if (!inTransaction_) return writeDisk(f, offset, static_cast<const uint8_t*>(buffer), count);
  if (count > 0) {
    const auto* in = static_cast<const uint8_t*>(buffer);
    pending_.push_back(Change{f, false, offset, std::vector<uint8_t>(in, in + count)});
  }
  return Status::ok();
}

Status DictionaryFiles::size(DictionaryFile file, uint64_t& bytes) {
  const int f = slot(file);
  if (!files_[f]) return Status::ioError("cannot find the size of " + name(file));
  return logicalSize(f, bytes);
}

Status DictionaryFiles::truncate(DictionaryFile file, uint64_t length) {
  const int f = slot(file);
  if (Status s = refuseChange(f, "cannot truncate " + name(file) + ": "); !s.isOk()) return s;
  if (!inTransaction_) return truncateDisk(f, length);
  pending_.push_back(Change{f, true, length, {}});
  return Status::ok();
}

Status DictionaryFiles::flush(DictionaryFile file) {
  const int f = slot(file);
  if (!files_[f])
    return Status::ioError("cannot flush " + name(file) + ": the dictionary is not open");
  if (inTransaction_) return Status::ok();
  return files_[f]->sync();
}

// ---- Transactions ----

void DictionaryFiles::begin() {
  pending_.clear();
  inTransaction_ = true;
}

void DictionaryFiles::abandon() {
  pending_.clear();
  inTransaction_ = false;
}

Status DictionaryFiles::commit(DictionaryFile* failedFile) {
  inTransaction_ = false;
  std::vector<Change> changes = std::move(pending_);
  pending_.clear();
  auto failAt = [&](int file, const Status& s) {
    if (failedFile != nullptr) *failedFile = static_cast<DictionaryFile>(file);
    return s;
  };
  if (changes.empty()) {
    bool createdAny = false;
    for (bool e : existed_) createdAny = createdAny || !e;
    if (!createdAny) return Status::ok();
  }
  if (!isOpen())
    return failAt(changes.empty() ? 0 : changes[0].file,
                  Status::ioError("the dictionary is not open"));
  const int firstFile = changes.empty() ? 0 : changes[0].file;

  // 1. The journal: old lengths and the old bytes of every range the changes overwrite or cut.
  Journal journal;
  bool touched[3] = {false, false, false};
  for (int f = 0; f < 3; ++f) {
    uint64_t length = 0;
    if (Status s = files_[f]->size(length); !s.isOk()) return failAt(f, s);
    journal.files[f].existed = existed_[f];
    journal.files[f].length = length;
    std::vector<Interval> spans;
    for (const Change& c : changes) {
      if (c.file != f) continue;
      touched[f] = true;
      const uint64_t begin = c.offset;
      const uint64_t end = c.truncation ? length : c.offset + c.bytes.size();
      if (begin < length) spans.push_back({begin, std::min(end, length)});
    }
    for (const Interval& i : merged(std::move(spans))) {
      Journal::Range r;
      r.file = static_cast<uint8_t>(f);
      r.offset = i.begin;
      r.bytes.resize(static_cast<size_t>(i.end - i.begin));
      if (Status s = readDisk(f, i.begin, r.bytes.data(), r.bytes.size()); !s.isOk()) {
        return failAt(f, s);
      }
      journal.ranges.push_back(std::move(r));
    }
  }
  {
    const std::vector<uint8_t> bytes = journal.encode();
    std::unique_ptr<File> out;
    Status s = fs_->open(journalName_, OpenMode::ReadWriteCreate, out);
    if (s.isOk()) s = out->truncate(0);
    if (s.isOk()) s = out->write(0, bytes.data(), bytes.size());
    if (s.isOk()) s = out->sync();
    out.reset();
    if (s.isOk()) s = fs_->syncFolder(journalName_);
    if (!s.isOk()) {
      // Best effort: a journal that did not reach the disk whole is ignored when opening.
      static_cast<void>(fs_->remove(journalName_));
      return failAt(firstFile, s);
    }
  }

  // Should anything below fail, the old bytes go back at once, so that the files, the
  // journal and the caller's view agree; if even that fails, the journal stays for the next
  // opening and this one refuses further changes.
  auto undo = [&] {
    if (!applyJournal(journal, false).isOk()) {
      broken_ = true;
      return;
    }
    const Status removed = fs_->remove(journalName_);
    // Best effort: a removal that does not reach the disk leaves a journal whose old bytes
    // are already in the files, and putting them back again changes nothing.
    if (removed.isOk()) static_cast<void>(fs_->syncFolder(journalName_));
  };

  // 2. The changes, then the files reach the disk.
  Status applied;
  int failed = firstFile;
  for (const Change& c : changes) {
    applied = c.truncation ? truncateDisk(c.file, c.offset)
                           : writeDisk(c.file, c.offset, c.bytes.data(), c.bytes.size());
    if (!applied.isOk()) {
      failed = c.file;
      break;
    }
  }
  for (int f : {2, 1, 0}) {  // data file, word file, index file
    if (!applied.isOk()) break;
    if (!touched[f] && existed_[f]) continue;
    applied = files_[f]->sync();
    if (!applied.isOk()) failed = f;
  }
  if (!applied.isOk()) {
    undo();
    return failAt(failed, applied);
  }

  // 3. The change is complete once the journal is gone for good.
  Status s = fs_->remove(journalName_);
  if (s.isOk()) s = fs_->syncFolder(journalName_);
  if (!s.isOk()) {
    undo();
    return failAt(firstFile, s);
  }
  for (bool& e : existed_) e = true;
  return Status::ok();
}

Status DictionaryFiles::applyJournal(const Journal& journal, bool removeCreatedFiles) {
  for (const Journal::Range& r : journal.ranges) {
    if (Status s = writeDisk(r.file, r.offset, r.bytes.data(), r.bytes.size()); !s.isOk()) {
      return s;
    }
  }
  for (int f = 0; f < 3; ++f) {
    if (Status s = truncateDisk(f, journal.files[f].length); !s.isOk()) return s;
    if (Status s = files_[f]->sync(); !s.isOk()) return s;
  }
  if (removeCreatedFiles) {
    bool removed = false;
    for (int f = 0; f < 3; ++f) {
      if (journal.files[f].existed) continue;
      if (Status s = fs_->remove(names_[f]); !s.isOk()) return s;
      removed = true;
    }
    if (removed) {
      if (Status s = fs_->syncFolder(journalName_); !s.isOk()) return s;
    }
  }
  return Status::ok();
}

Status DictionaryFiles::recover() {
  std::unique_ptr<File> in;
  Status s = fs_->open(journalName_, OpenMode::ReadOnly, in);
  if (s.code() == Status::Code::NotFound) return Status::ok();
  if (!s.isOk()) return s;
  uint64_t length = 0;
  if (s = in->size(length); !s.isOk()) return s;
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  if (s = in->read(0, bytes.data(), bytes.size()); !s.isOk()) return s;
  in.reset();

  Journal journal;
  if (!Journal::decode(bytes, journal).isOk()) {
    // The journal never reached the disk whole, so the files were never touched.
    if (!readOnly_ && fs_->remove(journalName_).isOk()) {
      // Best effort: the journal is gone from the folder, or found and ignored again.
      static_cast<void>(fs_->syncFolder(journalName_));
    }
    return Status::ok();
  }
  const bool created = std::any_of(journal.files.begin(), journal.files.end(),
                                   [](const Journal::FileState& f) { return !f.existed; });
  if (!readOnly_) {
    s = applyJournal(journal, true);
    if (!s.isOk()) {
      return Status::ioError("cannot open " + names_[2] +
                             ": its last change was interrupted and cannot be undone (" +
                             s.message() + ")");
    }
    // The files are as before the change. A journal that cannot be removed (a read-only
    // folder) would be applied again at every opening: harmless while nothing changes, so
    // the dictionary opens read-only.
    s = fs_->remove(journalName_);
    if (s.isOk()) s = fs_->syncFolder(journalName_);
    if (!s.isOk() && !created) readOnly_ = true;
    if (created) {
      return Status::notFound("cannot open " + names_[2] +
                              ": creating it was interrupted, so it was removed again");
    }
    return Status::ok();
  }
  if (created) {
    return Status::ioError("cannot open " + names_[2] +
                           ": creating it was interrupted, and its files are read-only");
  }
  // Read-only files: the dictionary is shown as it was before the interrupted change.
  for (const Journal::Range& r : journal.ranges) {
    rolledBack_.push_back(Change{r.file, false, r.offset, r.bytes});
  }
  for (int f = 0; f < 3; ++f) {
    rolledBack_.push_back(Change{f, true, journal.files[f].length, {}});
  }
  return Status::ok();
}

}  // namespace lexora
