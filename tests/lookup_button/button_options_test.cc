#include "lookup_button/button_options.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/registry_memory.h"

namespace lexora {
namespace {

class ButtonOptionsTest : public ::testing::Test {
 protected:
  std::shared_ptr<MemoryRegistry> registry = std::make_shared<MemoryRegistry>();
  RegistryKey key{registry, kLocalMachine, kSettingsKeyPath, true};
};

TEST_F(ButtonOptionsTest, EmptyRegistryExitsWith16AndStoresShowLookupButton0) {
  EXPECT_EQ(startupExitCode(key), kExitButtonOff);
  EXPECT_TRUE(key.valueExists(u"ShowLookupButton"));
  EXPECT_EQ(key.readDword(u"ShowLookupButton", 7), 0u);
  EXPECT_EQ(startupExitCode(key), kExitButtonOff);
  key.writeDword(u"ShowLookupButton", 1);
  EXPECT_EQ(startupExitCode(key), 0);
  key.writeDword(u"ShowLookupButton", 0xFFFFFFFF);  // any non-zero value runs the button
  EXPECT_EQ(startupExitCode(key), 0);
}

TEST_F(ButtonOptionsTest, FirstStartWritesTheDefaultsAndPlacesTheButtonThere) {
  ButtonOptions o(key);
  EXPECT_EQ(o.x(), 180);
  EXPECT_EQ(o.y(), 298);
  EXPECT_FALSE(o.freeze());
  EXPECT_FALSE(o.showPopup());
  EXPECT_EQ(key.readDword(u"YPos", 0), 298u);
  EXPECT_EQ(key.readDword(u"XPos", 0), 180u);
  EXPECT_TRUE(key.valueExists(u"Freeze"));
  EXPECT_TRUE(key.valueExists(u"ShowPopup"));
}

TEST_F(ButtonOptionsTest, StoredValuesAreReadBackAndNonZeroMeansOn) {
  key.writeDword(u"XPos", static_cast<uint32_t>(-20));
  key.writeDword(u"YPos", 15);
  key.writeDword(u"Freeze", 2);
  key.writeDword(u"ShowPopup", 0x100);
  ButtonOptions o(key);
  EXPECT_EQ(o.x(), -20);
  EXPECT_EQ(o.y(), 15);
  EXPECT_TRUE(o.freeze());
  EXPECT_TRUE(o.showPopup());
}

TEST_F(ButtonOptionsTest, ChangesAreStoredAtOnceAndSeenByTheNextStart) {
  ButtonOptions o(key);
  o.storePosition(-3, 14);
  o.toggleFreeze();
  o.toggleShowPopup();
  EXPECT_EQ(key.readDword(u"Freeze", 9), 1u);
  EXPECT_EQ(key.readDword(u"ShowPopup", 9), 1u);
  ButtonOptions next(key);
  EXPECT_EQ(next.x(), -3);
  EXPECT_EQ(next.y(), 14);
  EXPECT_TRUE(next.freeze());
  EXPECT_TRUE(next.showPopup());
  o.toggleFreeze();
  EXPECT_FALSE(o.freeze());
  EXPECT_EQ(key.readDword(u"Freeze", 9), 0u);
}

TEST_F(ButtonOptionsTest, ABrokenRegistryGivesDefaultsAndTheButtonStaysOff) {
  registry->setBroken(true);
  EXPECT_EQ(startupExitCode(key), kExitButtonOff);
  ButtonOptions o(key);
  o.storePosition(1, 2);  // dropped silently, the button still moves
  o.toggleShowPopup();
  EXPECT_EQ(o.x(), 1);
  EXPECT_TRUE(o.showPopup());
}

}  // namespace
}  // namespace lexora
