// A power cut at any point of a change: what was written but not yet flushed is lost, or
// reaches the disk in part and in any order. The dictionary then opens exactly as before or
// exactly as after the change, and a change that reported Ok is kept.

#include <gtest/gtest.h>

#include <string>

#include "crash_test_support.h"
#include "engine/collation.h"
#include "fault_file_system.h"

namespace lexora {
namespace {

using test::FaultFileSystem;
using test::FileSet;
using Cut = FaultFileSystem::Cut;

class PowerCutTest : public ::testing::TestWithParam<Cut> {};

TEST_P(PowerCutTest, EveryCutPointReopensOldOrNew) {
  test::ScratchDir dir;
  const std::string f = dir.file("d.pvm");
  FaultFileSystem noFaults;
  DictionaryBuilder builder(kVietnamese);
  builder.setFileSystem(noFaults);
  for (uint32_t i = 0; i < 40; ++i) builder.add(test::headword(i), test::meaningText(i, 2000));
  ASSERT_OK(builder.finish(f));
  const FileSet base = test::readFileSet(f);

  for (const test::Change& change : test::changes()) {
    SCOPED_TRACE(change.name);
    test::writeFileSet(f, base);
    ASSERT_TRUE(change.run(noFaults, f, kVietnamese));
    const FileSet after = test::readFileSet(f);
    for (int step = 1;; ++step) {
      SCOPED_TRACE("cut at step " + std::to_string(step));
      test::writeFileSet(f, base);
      FaultFileSystem fs;
      fs.trackUnflushed();
      fs.stopAt(step);
      const bool reportedOk = change.run(fs, f, kVietnamese);
      const bool finished = !fs.stopped();
      fs.cutPower(GetParam(), static_cast<uint32_t>(step));  // a different mix at each step
      {
        Dictionary reopened;
        ASSERT_OK(reopened.openDictionary(f));
      }
      const FileSet now = test::readFileSet(f);
      EXPECT_TRUE(now == base || now == after);
      if (reportedOk) {
        EXPECT_TRUE(now == after);
      }
      test::expectEveryEntryReads(f);
      if (::testing::Test::HasFailure()) return;
      if (finished) break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cuts, PowerCutTest, ::testing::Values(Cut::LoseUnflushed, Cut::Scramble));

}  // namespace
}  // namespace lexora
