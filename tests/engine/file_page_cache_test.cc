#include "engine/file_page_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "engine/dictionary_files.h"
#include "engine_test_support.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

using test::ScratchDir;

// The index and word files are read through the page cache; every change must show through
// at once, whatever was cached before.
class CachedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    names_ = fileSetNames(dir_.file("d.pvm"));
    test::writeFile(names_.indexFile, std::vector<uint8_t>(5000, 'i'));  // one full page + 904
    test::writeFile(names_.wordFile, {});
    test::writeFile(names_.dataFile, {});
    ASSERT_OK(files_.open(names_));
  }
  std::string readIndex(uint32_t offset, size_t count) {
    std::string out(count, '\0');
    if (!files_.read(DictionaryFile::Index, offset, out.data(), count).isOk()) return "<failed>";
    return out;
  }

  ScratchDir dir_;
  FileSetNames names_;
  DictionaryFiles files_;
};

TEST_F(CachedFilesTest, WritesShowThroughCachedAndPartialPages) {
  EXPECT_EQ(readIndex(4090, 10), "iiiiiiiiii");  // caches page 0 and the short page 1
  EXPECT_EQ(readIndex(4995, 6), "<failed>");     // past the end
  ASSERT_OK(files_.write(DictionaryFile::Index, 4094, "wxyz", 4));
  EXPECT_EQ(readIndex(4092, 6), "iiwxyz");
  ASSERT_OK(files_.write(DictionaryFile::Index, 4998, "END!", 4));  // grows the file
  EXPECT_EQ(readIndex(4996, 6), "iiEND!");
  ASSERT_OK(files_.write(DictionaryFile::Index, 9000, "far", 3));  // leaves a hole
  EXPECT_EQ(readIndex(5001, 3), std::string("!\0\0", 3));
  EXPECT_EQ(readIndex(8999, 4), std::string("\0far", 4));
}

TEST_F(CachedFilesTest, TruncationShrinkingOrGrowingShowsThrough) {
  EXPECT_EQ(readIndex(4990, 10), "iiiiiiiiii");  // the short page 1 is cached
  ASSERT_OK(files_.truncate(DictionaryFile::Index, 9000));
  EXPECT_EQ(readIndex(4998, 4), std::string("ii\0\0", 4));
  EXPECT_EQ(readIndex(8996, 4), std::string(4, '\0'));
  ASSERT_OK(files_.truncate(DictionaryFile::Index, 4100));
  EXPECT_EQ(readIndex(4098, 2), "ii");
  EXPECT_EQ(readIndex(4098, 3), "<failed>");
  ASSERT_OK(files_.truncate(DictionaryFile::Index, 10));
  EXPECT_EQ(readIndex(0, 11), "<failed>");
  EXPECT_EQ(readIndex(0, 10), "iiiiiiiiii");
}

TEST_F(CachedFilesTest, FailedWriteLeavesNoStalePage) {
  EXPECT_EQ(readIndex(4990, 10), "iiiiiiiiii");  // the short page 1 is cached
  // A size limit makes a write past 8192 bytes fail (EFBIG) after the pages were looked at.
  struct rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 8192;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  const std::string tooFar(4000, 'w');
  const Status written = files_.write(DictionaryFile::Index, 4996, tooFar.data(), tooFar.size());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(written.code(), Status::Code::IoError);
  // Whatever the failed write left, reads show the file as it is now.
  const std::vector<uint8_t> file = test::readFile(names_.indexFile);
  EXPECT_EQ(readIndex(4990, 10), std::string(file.begin() + 4990, file.begin() + 5000));
  ASSERT_OK(files_.write(DictionaryFile::Index, 4999, "z", 1));
  EXPECT_EQ(readIndex(4999, 1), "z");
}

// Inside a transaction nothing reaches the file, but reads and sizes see every change in
// order; abandoning it forgets them, committing writes exactly them.
TEST_F(CachedFilesTest, TransactionReadsSeeTheirOwnChanges) {
  const std::vector<uint8_t> before = test::readFile(names_.indexFile);
  files_.begin();
  ASSERT_OK(files_.write(DictionaryFile::Index, 4998, "ABCD", 4));  // grows to 5002
  ASSERT_OK(files_.truncate(DictionaryFile::Index, 5000));
  ASSERT_OK(files_.write(DictionaryFile::Index, 5004, "Z", 1));  // a hole at 5000 ... 5003
  uint64_t size = 0;
  ASSERT_OK(files_.size(DictionaryFile::Index, size));
  EXPECT_EQ(size, 5005u);
  EXPECT_EQ(readIndex(4996, 9), std::string("iiAB\0\0\0\0Z", 9));
  EXPECT_EQ(readIndex(5004, 2), "<failed>");
  EXPECT_EQ(test::readFile(names_.indexFile), before);
  files_.abandon();
  EXPECT_EQ(readIndex(4996, 4), "iiii");

  files_.begin();
  ASSERT_OK(files_.write(DictionaryFile::Index, 10, "xy", 2));
  ASSERT_OK(files_.truncate(DictionaryFile::Index, 20));
  ASSERT_OK(files_.commit());
  std::vector<uint8_t> expected(before.begin(), before.begin() + 20);
  expected[10] = 'x';
  expected[11] = 'y';
  EXPECT_EQ(test::readFile(names_.indexFile), expected);
  EXPECT_EQ(readIndex(8, 4), "iixy");
}

}  // namespace
}  // namespace lexora
