#pragma once
// A file system for tests that stops the program at the N-th step: every write, truncation,
// file flush, folder flush and removal is one step. At the stopping step a write puts down
// only the first half of its bytes and anything else does nothing; from then on every call
// fails, as if the process had died there. It can also pretend that files are read-only, and
// it logs the steps so that tests can check their order. Flushes are counted but not passed
// on: what a stopped process wrote stays in the system's cache, so the tests need no real
// flush, and they run much faster without.

#include <memory>
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
    return real_.remove(path);
  }
  Status syncFolder(const std::string& path) override { return step("syncFolder", path); }

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
        real_->write(offset, buffer, count / 2);  // torn: the first half reaches the file
      }
      return s;
    }
    return real_->write(offset, buffer, count);
  }
  Status size(uint64_t& bytes) override {
    if (fs_.stopped()) return fs_.dead(name());
    return real_->size(bytes);
  }
  Status truncate(uint64_t length) override {
    if (isReadOnly()) return Status::readOnly(name() + " is read-only");
    if (Status s = fs_.step("truncate", name()); !s.isOk()) return s;
    return real_->truncate(length);
  }
  Status sync() override { return fs_.step("sync", name()); }
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
  std::unique_ptr<File> real;
  Status s = real_.open(path, mode, real);
  if (!s.isOk()) return s;
  file = std::make_unique<FaultFile>(*this, std::move(real));
  return s;
}

}  // namespace lexora::test
