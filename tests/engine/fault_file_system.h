#pragma once
// A file system for tests that stops the program at the N-th step: every write, truncation,
// file flush, folder flush and removal is one step. At the stopping step a write puts down
// only the first half of its bytes and anything else does nothing; from then on every call
// fails, as if the process had died there. It can also pretend that files are read-only, and
// it logs the steps so that tests can check their order. Flushes are counted but not passed
// on: what a stopped process wrote stays in the system's cache, so the tests need no real
// flush, and they run much faster without.
//
// Power cuts: with trackUnflushed() it also remembers what a real disk would hold, each
// file's bytes as of its last flush and each name as of its folder's last flush. cutPower()
// then leaves the files as a power cut would: every write, truncation, creation, removal and
// rename not yet flushed is lost (Cut::LoseUnflushed), or each of them on its own is lost,
// kept or (a write) torn at a sector boundary (Cut::Scramble, which reaches the disk in any
// order).

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/file.h"

namespace lexora::test {

class FaultFileSystem : public FileSystem {
 public:
  explicit FaultFileSystem(FileSystem& real = systemFileSystem()) : real_(real) {}

  void stopAt(int step) { stopAt_ = step; }  // 0: never
  // Only that one step fails (a write puts nothing down); the program goes on.
  void failOnlyAt(int step) { failAt_ = step; }
  void pretendReadOnly(bool on) { readOnly_ = on; }
  bool stopped() const { return stopped_; }
  bool failed() const { return failed_; }
  int steps() const { return steps_; }
  // "write <path>", "truncate <path>", "sync <path>", "syncFolder <path>", "remove <path>".
  const std::vector<std::string>& log() const { return log_; }

  Status open(const std::string& path, OpenMode mode, std::unique_ptr<File>& file) override;
  Status remove(const std::string& path) override {
    if (Status s = step("remove", path); !s.isOk()) return s;
    track(path);
    Status s = real_.remove(path);
    if (s.isOk() && tracking_) disk_[path].removed = true;
    return s;
  }
  Status rename(const std::string& from, const std::string& to) override {
    if (Status s = step("rename", from); !s.isOk()) return s;
    track(from);
    Status s = real_.rename(from, to);
    if (s.isOk() && tracking_) {
      disk_[to] = Disk{false, disk_[from].flushed, {}, false};
      disk_[from].removed = true;
    }
    return s;
  }
  Status syncFolder(const std::string& path) override {
    if (Status s = step("syncFolder", path); !s.isOk()) return s;
    for (auto it = disk_.begin(); it != disk_.end();) {
      it->second.durable = true;
      it = it->second.removed ? disk_.erase(it) : std::next(it);
    }
    return Status::ok();
  }

  // ---- Power cuts ----
  enum class Cut { LoseUnflushed, Scramble };
  void trackUnflushed() { tracking_ = true; }
  void cutPower(Cut how, uint32_t seed = 0) {
    std::mt19937 random(seed);
    for (auto& [path, disk] : disk_) {
      std::filesystem::remove(path);
      if (!disk.durable) continue;
      std::vector<uint8_t> bytes = disk.flushed;
      for (const Op& op : disk.ops) {
        const uint32_t pick = how == Cut::LoseUnflushed ? 0 : random() % 3;
        if (pick == 0) continue;
        if (op.truncation) {
          bytes.resize(op.offset);
          continue;
        }
        size_t n = op.bytes.size();
        if (pick == 2) n = std::min(n, size_t{512} * (random() % (n / 512 + 1)));
        if (bytes.size() < op.offset + n) bytes.resize(op.offset + n);
        std::copy_n(op.bytes.begin(), n, bytes.begin() + op.offset);
      }
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    disk_.clear();
    stopped_ = true;
  }
  // What the file's open, writes, truncations and flushes do to the disk's picture.
  void opening(const std::string& path) { track(path); }
  void wrote(const std::string& path, uint64_t offset, const void* buffer, size_t count) {
    if (!tracking_) return;
    const auto* in = static_cast<const uint8_t*>(buffer);
    disk_[path].ops.push_back(Op{false, offset, std::vector<uint8_t>(in, in + count)});
  }
  void truncated(const std::string& path, uint64_t length) {
    if (tracking_) disk_[path].ops.push_back(Op{true, length, {}});
  }
  void flushed(const std::string& path) {
    if (!tracking_) return;
    disk_[path].flushed = contentOf(path);
    disk_[path].ops.clear();
  }

  // Counts one step; fails when the program is (now) stopped.
  Status step(const char* what, const std::string& path) {
    if (stopped_) return dead(path);
    ++steps_;
    log_.push_back(std::string(what) + " " + path);
    if (steps_ == stopAt_) {
      stopped_ = true;
      return dead(path);
    }
    if (steps_ == failAt_) {
      failed_ = true;
      return Status::ioError("cannot change " + path + ": injected failure");
    }
    return Status::ok();
  }
  bool isReadOnly() const { return readOnly_; }
  Status dead(const std::string& path) const {
    return Status::ioError("stopped before " + path + " could be changed");
  }

 private:
  FileSystem& real_;
  int stopAt_ = 0;
  int failAt_ = 0;
  bool failed_ = false;
  int steps_ = 0;
  bool stopped_ = false;
  bool readOnly_ = false;
  std::vector<std::string> log_;

  struct Op {
    bool truncation = false;
    uint64_t offset = 0;  // the new length of a truncation
    std::vector<uint8_t> bytes;
  };
  struct Disk {
    bool durable = false;          // the name survives a cut
    std::vector<uint8_t> flushed;  // the bytes as of the last flush
    std::vector<Op> ops;           // since then
    bool removed = false;          // gone from the folder, but not for good yet
  };
  static std::vector<uint8_t> contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  // A file seen for the first time is on the disk as it is now (or not at all).
  void track(const std::string& path) {
    if (!tracking_ || disk_.count(path) != 0) return;
    const bool exists = std::filesystem::exists(path);
    disk_[path] = Disk{exists, exists ? contentOf(path) : std::vector<uint8_t>{}, {}, false};
  }
  bool tracking_ = false;
  std::map<std::string, Disk> disk_;
};

class FaultFile : public File {
 public:
  FaultFile(FaultFileSystem& fs, std::unique_ptr<File> real) : fs_(fs), real_(std::move(real)) {}

  const std::string& name() const override { return real_->name(); }
  bool isReadOnly() const override { return fs_.isReadOnly() || real_->isReadOnly(); }
  Status readSome(uint64_t offset, void* buffer, size_t count, size_t& done) override {
    if (fs_.stopped()) return fs_.dead(name());
    return real_->readSome(offset, buffer, count, done);
  }
  Status write(uint64_t offset, const void* buffer, size_t count) override {
    if (isReadOnly()) return Status::readOnly(name() + " is read-only");
    const bool wasStopped = fs_.stopped();
    if (Status s = fs_.step("write", name()); !s.isOk()) {
      if (!wasStopped) {
        // Torn: the first half reaches the file (or not: the write fails either way).
        static_cast<void>(real_->write(offset, buffer, count / 2));
        fs_.wrote(name(), offset, buffer, count / 2);
      }
      return s;
    }
    fs_.wrote(name(), offset, buffer, count);
    return real_->write(offset, buffer, count);
  }
  Status size(uint64_t& bytes) override {
    if (fs_.stopped()) return fs_.dead(name());
    return real_->size(bytes);
  }
  Status truncate(uint64_t length) override {
    if (isReadOnly()) return Status::readOnly(name() + " is read-only");
    if (Status s = fs_.step("truncate", name()); !s.isOk()) return s;
    fs_.truncated(name(), length);
    return real_->truncate(length);
  }
  Status sync() override {
    if (Status s = fs_.step("sync", name()); !s.isOk()) return s;
    fs_.flushed(name());
    return Status::ok();
  }
  Status lock() override { return real_->lock(); }
  Status identity(uint64_t& device, uint64_t& inode) override {
    return real_->identity(device, inode);
  }

 private:
  FaultFileSystem& fs_;
  std::unique_ptr<File> real_;
};

inline Status FaultFileSystem::open(const std::string& path, OpenMode mode,
                                    std::unique_ptr<File>& file) {
  if (stopped_) return dead(path);
  opening(path);
  std::unique_ptr<File> real;
  Status s = real_.open(path, mode, real);
  if (!s.isOk()) return s;
  file = std::make_unique<FaultFile>(*this, std::move(real));
  return s;
}

}  // namespace lexora::test
