#include "engine/file_page_cache.h"

#include <algorithm>
#include <cstring>

namespace lexora {

const FilePageCache::Page* FilePageCache::page(File& file, uint64_t index, Status& status) {
  auto found = pages_.find(index);
  if (found != pages_.end()) return found->second.get();
  if (pages_.size() >= kMaxPages) clear();
  auto fresh = std::make_unique<Page>();
  size_t done = 0;
  status = file.readSome(index * kPageSize, fresh->bytes, kPageSize, done);
  if (!status.isOk()) return nullptr;
  fresh->length = done;
  if (done < kPageSize) {
    if (partialPage_ != UINT64_MAX) pages_.erase(partialPage_);
    partialPage_ = index;
  }
  return pages_.emplace(index, std::move(fresh)).first->second.get();
}

Status FilePageCache::read(File& file, uint64_t offset, uint8_t* out, size_t count) {
  const uint64_t start = offset;
  const size_t total = count;
  auto endsFirst = [&] {
    return Status::ioError("cannot read " + std::to_string(total) + " bytes at offset " +
                           std::to_string(start) + " of " + file.name() + ": the file ends first");
  };
  while (count > 0) {
    const uint64_t index = offset / kPageSize;
    const size_t within = static_cast<size_t>(offset % kPageSize);
    Status status;
    const Page* p = page(file, index, status);
    if (p == nullptr) return status;
    if (p->length <= within) return endsFirst();
    const size_t n = std::min(count, p->length - within);
    std::memcpy(out, p->bytes + within, n);
    out += n;
    offset += n;
    count -= n;
    if (count > 0 && p->length < kPageSize) return endsFirst();
  }
  return Status::ok();
}

void FilePageCache::invalidate(uint64_t offset, uint64_t count) {
  if (partialPage_ != UINT64_MAX) {
    pages_.erase(partialPage_);
    partialPage_ = UINT64_MAX;
  }
  if (count == 0) return;
  const uint64_t first = offset / kPageSize;
  const uint64_t last = (offset + count - 1) / kPageSize;
  if (last - first >= pages_.size()) {
    for (auto it = pages_.begin(); it != pages_.end();) {
      it = (it->first >= first && it->first <= last) ? pages_.erase(it) : std::next(it);
    }
    return;
  }
  for (uint64_t i = first; i <= last; ++i) pages_.erase(i);
}

void FilePageCache::truncated(uint64_t length) {
  // The short page at the old end is stale too when the file grows (its tail turns to zeros).
  if (partialPage_ != UINT64_MAX) pages_.erase(partialPage_);
  partialPage_ = UINT64_MAX;
  const uint64_t first = length / kPageSize;
  for (auto it = pages_.begin(); it != pages_.end();) {
    it = it->first >= first ? pages_.erase(it) : std::next(it);
  }
}

void FilePageCache::clear() {
  pages_.clear();
  partialPage_ = UINT64_MAX;
}

}  // namespace lexora
