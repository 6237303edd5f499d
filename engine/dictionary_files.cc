#include "engine/dictionary_files.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/journal.h"

namespace lexora {
namespace {

constexpr int kOpenOrder[3] = {1, 2, 0};  // word file, data file, index file
constexpr int kLockOrder[3] = {0, 1, 2};  // index file first

}  // namespace

// Sorted, merged intervals.
std::vector<DictionaryFiles::Interval> DictionaryFiles::merged(std::vector<Interval> v) {
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

  // Files this opening creates go again should it fail.
  auto fail = [&](const Status& s) {
    for (int i = 0; i < 3; ++i) {
      if (files[i] && !existed[i]) {
        files[i].reset();
        // Best effort: a file this opening made and could not use goes; one left is empty.
        static_cast<void>(fs_->remove(names_[i]));
      }
    }
    return s;
  };
  for (int i : kOpenOrder) {
    Status s = fs_->open(names_[i], OpenMode::ReadWrite, files[i]);
    if (forReplace && s.code() == Status::Code::NotFound) {
      existed[i] = false;
      s = fs_->open(names_[i], OpenMode::ReadWriteCreate, files[i]);
    }
    if (!s.isOk()) return fail(s);
    if (files[i]->isReadOnly()) {
      if (forReplace)
        return fail(Status::readOnly("cannot replace " + names_[i] + ": the file is read-only"));
      readOnly = true;
    }
  }

  // The three names must be three different files (a data file named like its index file
  // would lock against itself).
  uint64_t device[3], inode[3];
  for (int i = 0; i < 3; ++i) {
    if (Status s = files[i]->identity(device[i], inode[i]); !s.isOk()) return fail(s);
  }
  for (int i = 0; i < 3; ++i) {
    for (int j = i + 1; j < 3; ++j) {
      if (device[i] == device[j] && inode[i] == inode[j]) {
        return fail(Status::invalidArgument(
            "cannot open " + names.dataFile +
            ": the data file must not be the dictionary's word or index file"));
      }
    }
  }

  // Locks belong to the open file description, so a second open in this process is refused
  // as well as one in another program.
  for (int i : kLockOrder) {
    if (Status s = files[i]->lock(); !s.isOk()) return fail(s);
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
  // Files created for a replace that was never committed go again (unless a journal that
  // could not be applied still needs them).
  const bool dropCreated = isOpen() && !broken_;
  for (FilePageCache& cache : pageCaches_) cache.clear();
  for (auto& file : files_) file.reset();
  for (int i = 0; i < 3; ++i) {
    // Best effort: an empty file left behind is refused as no dictionary by the next opening.
    if (dropCreated && !existed_[i]) static_cast<void>(fs_->remove(names_[i]));
    existed_[i] = true;
  }
  readOnly_ = false;
  inTransaction_ = false;
  broken_ = false;
  pending_.clear();
  rolledBack_.clear();
}

// ---- The disk ----

Status DictionaryFiles::readDisk(int file, uint64_t offset, uint8_t* out, size_t count) {
  // A long read (a piece of a whole-table pass) goes straight to the file, which every write
  // keeps equal to the cache: its pages would only push out the ones lookups read again.
  constexpr size_t kLongRead = 4 * FilePageCache::kPageSize;
  if (file != slot(DictionaryFile::Data) && count < kLongRead) {
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
  if (count == 0) return Status::ok();  // `out` may be null then
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

Status DictionaryFiles::planFile(int f, FilePlan& plan) {
  plan = FilePlan{};
  if (Status s = files_[f]->size(plan.oldLength); !s.isOk()) return s;
  if (Status s = logicalSize(f, plan.newLength); !s.isOk()) return s;
  std::vector<Interval> writes;
  for (const Change& c : pending_) {
    if (c.file != f) continue;
    plan.touched = true;
    if (c.truncation) {
      plan.cut = std::min(plan.cut, c.offset);
    } else {
      writes.push_back({c.offset, std::min<uint64_t>(c.offset + c.bytes.size(), plan.newLength)});
    }
  }
  plan.writes = merged(std::move(writes));
  plan.reach = std::max({plan.oldLength, plan.newLength, plan.cut == kNoCut ? 0 : plan.cut});
  for (const Interval& i : plan.writes) plan.reach = std::max(plan.reach, i.end);
  // Every byte the change overwrites or cuts off, as it is now.
  std::vector<Interval> old;
  for (const Interval& i : plan.writes) {
    if (i.begin < plan.oldLength) old.push_back({i.begin, std::min(i.end, plan.oldLength)});
  }
  const uint64_t keep = std::min(plan.cut, plan.newLength);
  if (keep < plan.oldLength) old.push_back({keep, plan.oldLength});
  plan.old = merged(std::move(old));
  return Status::ok();
}

Status DictionaryFiles::buildJournal(const FilePlan (&plans)[3], Journal& journal) {
  for (int f = 0; f < 3; ++f) {
    const FilePlan& plan = plans[f];
    Journal::FileState& state = journal.files[f];
    state.existed = existed_[f];
    state.length = plan.oldLength;
    state.reach = plan.reach;
    std::vector<uint8_t> head(static_cast<size_t>(std::min<uint64_t>(plan.oldLength, HEADER_SIZE)));
    if (Status s = readDisk(f, 0, head.data(), head.size()); !s.isOk()) return s;
    state.oldHeadChecksum = journalChecksum(head.data(), head.size());
    state.newHead.resize(static_cast<size_t>(std::min<uint64_t>(plan.newLength, HEADER_SIZE)));
    if (Status s = readThrough(f, 0, state.newHead.data(), state.newHead.size()); !s.isOk()) {
      return s;
    }
    for (const Interval& i : plan.old) {
      Journal::Range r;
      r.file = static_cast<uint8_t>(f);
      r.offset = i.begin;
      r.bytes.resize(static_cast<size_t>(i.end - i.begin));
      if (Status s = readDisk(f, i.begin, r.bytes.data(), r.bytes.size()); !s.isOk()) return s;
      journal.ranges.push_back(std::move(r));
    }
  }
  return Status::ok();
}

Status DictionaryFiles::writeJournal(const Journal& journal) {
  const std::vector<uint8_t> bytes = journal.encode();
  std::unique_ptr<File> out;
  // A new file of its own: never an older journal, nor a link to somewhere else.
  Status s = fs_->open(journalName_, OpenMode::CreateNew, out);
  if (!s.isOk()) {
    return Status::ioError("cannot write the journal " + journalName_ + ": " + s.message());
  }
  s = out->write(0, bytes.data(), bytes.size());
  if (s.isOk()) s = out->sync();
  out.reset();
  if (s.isOk()) s = fs_->syncFolder(journalName_);
  // Best effort: a journal that did not reach the disk whole is set aside when opening.
  if (!s.isOk()) static_cast<void>(fs_->remove(journalName_));
  return s;
}

Status DictionaryFiles::writeFile(int f, const FilePlan& plan) {
  if (plan.cut != kNoCut) {
    if (Status s = truncateDisk(f, plan.cut); !s.isOk()) return s;
  }
  // Each changed byte is written once, with its final value.
  std::vector<uint8_t> piece;
  for (const Interval& i : plan.writes) {
    for (uint64_t at = i.begin; at < i.end;) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(i.end - at, kWritePiece));
      piece.resize(n);
      if (Status s = readThrough(f, at, piece.data(), n); !s.isOk()) return s;
      if (Status s = writeDisk(f, at, piece.data(), n); !s.isOk()) return s;
      at += n;
    }
  }
  uint64_t length = 0;
  if (Status s = files_[f]->size(length); !s.isOk()) return s;
  if (length != plan.newLength) return truncateDisk(f, plan.newLength);
  return Status::ok();
}

Status DictionaryFiles::commit(DictionaryFile* failedFile) {
  inTransaction_ = false;
  auto failAt = [&](int file, const Status& s) {
    pending_.clear();
    if (failedFile != nullptr) *failedFile = static_cast<DictionaryFile>(file);
    return s;
  };
  const bool createdAny =
      std::find(std::begin(existed_), std::end(existed_), false) != std::end(existed_);
  if (pending_.empty() && !createdAny) return Status::ok();
  const int firstFile = pending_.empty() ? 0 : pending_[0].file;
  if (!isOpen()) return failAt(firstFile, Status::ioError("the dictionary is not open"));

  // 1. The journal: what the files are and become, and the old bytes the change replaces.
  FilePlan plans[3];
  for (int f = 0; f < 3; ++f) {
    if (Status s = planFile(f, plans[f]); !s.isOk()) return failAt(f, s);
  }
  Journal journal;
  if (Status s = buildJournal(plans, journal); !s.isOk()) return failAt(firstFile, s);
  if (Status s = writeJournal(journal); !s.isOk()) return failAt(firstFile, s);

  // 2. The changes, then the files reach the disk. Should anything fail, the old bytes go back
  // at once, so that the files, the journal and the caller's view agree.
  std::vector<int> order;  // the files in the order the change first touched them
  for (const Change& c : pending_) {
    if (std::find(order.begin(), order.end(), c.file) == order.end()) order.push_back(c.file);
  }
  for (int f : order) {
    if (Status s = writeFile(f, plans[f]); !s.isOk()) {
      undo(journal);
      return failAt(f, s);
    }
  }
  for (int f : {2, 1, 0}) {  // data file, word file, index file
    if (!plans[f].touched && existed_[f]) continue;
    if (Status s = files_[f]->sync(); !s.isOk()) {
      undo(journal);
      return failAt(f, s);
    }
  }

  // 3. The change is complete once the journal is gone for good.
  Status s = fs_->remove(journalName_);
  if (s.isOk()) s = fs_->syncFolder(journalName_);
  if (!s.isOk()) {
    undo(journal);
    return failAt(firstFile, s);
  }
  pending_.clear();
  for (bool& e : existed_) e = true;
  return Status::ok();
}

void DictionaryFiles::undo(const Journal& journal) {
  // If even this fails, the journal stays for the next opening and this one refuses changes.
  Status s;
  for (const Journal::Range& r : journal.ranges) {
    if (s.isOk()) s = writeDisk(r.file, r.offset, r.bytes.data(), r.bytes.size());
  }
  if (s.isOk()) s = restoreLengths(journal.files, false);
  if (!s.isOk()) {
    broken_ = true;
    return;
  }
  // Best effort: a journal whose old bytes are back in the files changes nothing if it stays.
  if (fs_->remove(journalName_).isOk()) static_cast<void>(fs_->syncFolder(journalName_));
}

}  // namespace lexora
