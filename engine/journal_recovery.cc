// Opening a dictionary whose last change died: its journal is applied when it belongs to the
// files found, and set aside otherwise.

#include <algorithm>
#include <cstring>

#include "engine/dictionary_files.h"
#include "engine/journal.h"

namespace lexora {
namespace {

// A journal read into memory to be applied there (read-only files) holds at most this much.
constexpr uint64_t kMostInMemory = uint64_t{256} << 20;

// Whether a journal describes a change of the files found: each file is no longer than the
// change could make it, its cut-off bytes are all in the journal, its old head put back
// matches the journal's checksum, and every byte of its head is old, new or zero (a write
// that never reached the disk). Fed the journal's ranges one piece at a time.
class JournalMatch {
 public:
  JournalMatch(const std::array<Journal::FileState, 3>& states, const uint64_t (&lengths)[3],
               const std::vector<uint8_t> (&heads)[3])
      : states_(states) {
    for (int f = 0; f < 3; ++f) {
      lengths_[f] = lengths[f];
      heads_[f] = heads[f];
      covered_[f] = lengths[f];
      oldHeads_[f].assign(static_cast<size_t>(std::min<uint64_t>(states[f].length, HEADER_SIZE)),
                          0);
      std::copy_n(heads[f].begin(), std::min(heads[f].size(), oldHeads_[f].size()),
                  oldHeads_[f].begin());
    }
  }

  Status visit(int f, uint64_t offset, const uint8_t* bytes, size_t n) {
    if (offset > covered_[f]) gap_[f] = true;
    covered_[f] = std::max(covered_[f], offset + n);
    for (uint64_t i = offset; i < offset + n && i < oldHeads_[f].size(); ++i) {
      oldHeads_[f][static_cast<size_t>(i)] = bytes[i - offset];
    }
    return Status::ok();
  }

  // Empty when the journal belongs to the files; else why not.
  std::string mismatch() const {
    static const char* kNames[3] = {"index file", "word file", "data file"};
    for (int f = 0; f < 3; ++f) {
      const Journal::FileState& s = states_[f];
      const std::string file = std::string("the ") + kNames[f];
      if (!s.existed && s.length != 0) return file + " is said to be new and old at once";
      if (lengths_[f] > std::max(s.reach, s.length)) {
        return file + " is longer than the change could have made it";
      }
      if (gap_[f] || covered_[f] < s.length) return "the journal lacks old bytes of " + file;
      if (journalChecksum(oldHeads_[f].data(), oldHeads_[f].size()) != s.oldHeadChecksum) {
        return file + " was another file before the change";
      }
      for (size_t i = 0; i < heads_[f].size(); ++i) {
        const uint8_t b = heads_[f][i];
        const bool old = i < oldHeads_[f].size() && b == oldHeads_[f][i];
        const bool fresh = i < s.newHead.size() && b == s.newHead[i];
        if (!old && !fresh && b != 0) return file + " is neither as before nor as after the change";
      }
    }
    return {};
  }

 private:
  const std::array<Journal::FileState, 3>& states_;
  uint64_t lengths_[3];
  uint64_t covered_[3];
  std::vector<uint8_t> heads_[3];
  std::vector<uint8_t> oldHeads_[3];
  bool gap_[3] = {false, false, false};
};

}  // namespace

Status DictionaryFiles::restoreLengths(const std::array<Journal::FileState, 3>& states,
                                       bool removeCreatedFiles) {
  for (int f = 0; f < 3; ++f) {
    if (Status s = truncateDisk(f, states[f].length); !s.isOk()) return s;
    if (Status s = files_[f]->sync(); !s.isOk()) return s;
  }
  if (!removeCreatedFiles) return Status::ok();
  bool removed = false;
  for (int f = 0; f < 3; ++f) {
    if (states[f].existed) continue;
    if (Status s = fs_->remove(names_[f]); !s.isOk()) return s;
    removed = true;
  }
  if (removed) return fs_->syncFolder(journalName_);
  return Status::ok();
}

Status DictionaryFiles::setJournalAside(const std::string& why) {
  std::string aside;
  const Status s = lexora::setJournalAside(*fs_, journalName_, aside);
  notice_ = "A leftover journal of " + names_[2] + " was not applied: " + why;
  if (!s.isOk()) {
    // It stays where it is; a change would have to replace it, so none is allowed.
    notice_ += "; it could not be set aside (" + s.message() + "), so the dictionary is read-only";
    readOnly_ = true;
  } else if (!aside.empty()) {
    notice_ += "; it was set aside as " + aside;
  }
  return Status::ok();
}

Status DictionaryFiles::checkJournal(JournalReader& reader,
                                     const std::array<Journal::FileState, 3>& states,
                                     std::string& mismatch) {
  uint64_t lengths[3];
  std::vector<uint8_t> heads[3];
  for (int f = 0; f < 3; ++f) {
    if (Status s = files_[f]->size(lengths[f]); !s.isOk()) return s;
    heads[f].resize(static_cast<size_t>(std::min<uint64_t>(lengths[f], HEADER_SIZE)));
    if (Status s = readDisk(f, 0, heads[f].data(), heads[f].size()); !s.isOk()) return s;
  }
  JournalMatch match(states, lengths, heads);
  Status s = reader.forEachRange([&](int f, uint64_t offset, const uint8_t* bytes, size_t n) {
    return match.visit(f, offset, bytes, n);
  });
  if (s.code() == Status::Code::InvalidArgument) {
    mismatch = s.message();
    return Status::ok();
  }
  if (s.isOk()) mismatch = match.mismatch();
  return s;
}

Status DictionaryFiles::recover() {
  notice_.clear();
  std::unique_ptr<File> in;
  Status s = fs_->open(journalName_, OpenMode::ReadOnly, in);
  if (s.code() == Status::Code::NotFound) return Status::ok();
  if (!s.isOk()) return setJournalAside(s.message());
  JournalReader reader(*in);
  std::array<Journal::FileState, 3> states;
  std::string mismatch;
  s = reader.readFiles(states);
  if (s.isOk()) s = checkJournal(reader, states, mismatch);
  if (s.code() == Status::Code::Corruption) {
    // The journal never reached the disk whole, so the files were never touched.
    in.reset();
    // Best effort: a torn journal that stays is found torn again and removed next time.
    if (!readOnly_ && fs_->remove(journalName_).isOk())
      static_cast<void>(fs_->syncFolder(journalName_));
    return Status::ok();
  }
  if (s.code() == Status::Code::InvalidArgument) return setJournalAside(s.message());
  if (!s.isOk()) return s;
  if (!mismatch.empty()) return setJournalAside(mismatch);
  return rollBack(reader, states);
}

Status DictionaryFiles::rollBack(JournalReader& reader,
                                 const std::array<Journal::FileState, 3>& states) {
  const bool created = std::any_of(states.begin(), states.end(),
                                   [](const Journal::FileState& f) { return !f.existed; });
  if (readOnly_) return rollBackInMemory(reader, states, created);
  Status s = reader.forEachRange([this](int f, uint64_t offset, const uint8_t* bytes, size_t n) {
    return writeDisk(f, offset, bytes, n);
  });
  if (s.isOk()) s = restoreLengths(states, true);
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

Status DictionaryFiles::rollBackInMemory(JournalReader& reader,
                                         const std::array<Journal::FileState, 3>& states,
                                         bool created) {
  if (created) {
    return Status::ioError("cannot open " + names_[2] +
                           ": creating it was interrupted, and its files are read-only");
  }
  uint64_t held = 0;
  Status s = reader.forEachRange([&](int f, uint64_t offset, const uint8_t* bytes, size_t n) {
    held += n;
    if (held > kMostInMemory) {
      return Status::ioError("cannot open " + names_[2] +
                             ": its last change was interrupted, its files are read-only and "
                             "the change is too large to undo in memory");
    }
    rolledBack_.push_back(Change{f, false, offset, std::vector<uint8_t>(bytes, bytes + n)});
    return Status::ok();
  });
  if (!s.isOk()) {
    rolledBack_.clear();
    return s;
  }
  // The dictionary is shown as it was before the interrupted change.
  for (int f = 0; f < 3; ++f) rolledBack_.push_back(Change{f, true, states[f].length, {}});
  return Status::ok();
}

}  // namespace lexora
