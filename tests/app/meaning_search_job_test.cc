// The window's background work: the worker runs jobs in order and stops them when asked; a
// search over several dictionaries reports each match with its slot and a readable line; the
// derived indexes are prepared for the dictionaries that lack them.

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <thread>

#include "app/dictionary_worker.h"
#include "app/meaning_search_job.h"
#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

TEST(DictionaryWorker, RunsJobsInOrderAndStopsThemWhenAsked) {
  DictionaryWorker worker;
  std::vector<int> ran;
  std::promise<void> started;
  std::promise<void> stopped;
  worker.post([&](const std::atomic<bool>&) { ran.push_back(1); });
  worker.post([&](const std::atomic<bool>& stop) {
    ran.push_back(2);
    started.set_value();
    while (!stop) std::this_thread::yield();
    stopped.set_value();
  });
  worker.post([&](const std::atomic<bool>&) { ran.push_back(3); });  // dropped by cancel()
  started.get_future().wait();
  worker.cancel();
  stopped.get_future().wait();
  std::promise<void> last;
  worker.post([&](const std::atomic<bool>&) { last.set_value(); });
  last.get_future().wait();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

class MeaningSearchJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int k = 0; k < 2; ++k) {
      DictionaryBuilder builder(kLatin1);
      builder.add(u"run", u"@run|rʌn|\r\n- to move swiftly");
      if (k == 1) builder.add(u"dash", u"=$dash off+to move swiftly away");
      ASSERT_OK(builder.finish(dir_.file("d" + std::to_string(k) + ".pvm")));
      ASSERT_OK(slots_[k].openDictionary(dir_.file("d" + std::to_string(k) + ".pvm")));
    }
  }

  test::ScratchDir dir_;
  Dictionary slots_[2];
  std::atomic<bool> stop_{false};
};

TEST_F(MeaningSearchJobTest, SearchesEveryDictionaryGivenAndBuildsWhatTheyLack) {
  const std::vector<SearchedDictionary> both = {{3, &slots_[0]}, {5, &slots_[1]}};
  std::vector<MeaningHit> hits;
  ASSERT_OK(searchMeanings(u"move swiftly", both, stop_,
                           [&](const MeaningHit& h) { hits.push_back(h); }));
  ASSERT_EQ(hits.size(), 3u);
  EXPECT_EQ(hits[0].slot, 3);
  EXPECT_EQ(hits[1].slot, 5);
  EXPECT_EQ(hits[1].headword, u"dash");
  EXPECT_EQ(hits[1].line, u"dash off + to move swiftly away");
  EXPECT_EQ(slots_[0].fullTextState(), Dictionary::FullTextState::Missing);  // a search reads

  prepareDerivedIndexes(both, dir_.file("kept"), stop_, {});
  for (Dictionary& d : slots_) {
    EXPECT_EQ(d.fullTextState(), Dictionary::FullTextState::Current);
    EXPECT_TRUE(std::filesystem::exists(fileSetNames(d.dataFileName()).suggestionFile));
  }
}

}  // namespace
}  // namespace lexora
