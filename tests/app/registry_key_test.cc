#include "app/registry_key.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/registry_memory.h"

namespace lexora {
namespace {

constexpr char16_t kPath[] = u"Software\\Velmarin\\Lexora";

class RegistryKeyTest : public ::testing::Test {
 protected:
  std::shared_ptr<MemoryRegistry> hive_ = std::make_shared<MemoryRegistry>();
};

TEST_F(RegistryKeyTest, ReadDwordWritesItsDefaultBackUnlessTheSentinel) {
  RegistryKey key(hive_, kLocalMachine, kPath, true);
  ASSERT_TRUE(key.isOpen());
  EXPECT_EQ(key.disposition(), RegistryDisposition::kCreatedNewKey);
  const int writes = hive_->writeCount();
  EXPECT_EQ(key.readDword(u"Missing", RegistryKey::kNoWriteBack), 0xDEF0u);
  EXPECT_FALSE(key.valueExists(u"Missing"));
  EXPECT_EQ(hive_->writeCount(), writes);

  EXPECT_EQ(key.readDword(u"TextSize", 2), 2u);
  EXPECT_TRUE(key.valueExists(u"TextSize"));
  EXPECT_EQ(key.readDword(u"TextSize", 7), 2u);

  // Any 4-byte value reads, whatever its type; a longer one is replaced by the default.
  ASSERT_TRUE(key.writeString(u"Short", u"A"));  // 'A', NUL: 4 bytes
  EXPECT_EQ(key.readDword(u"Short", 5), 0x41u);
  ASSERT_TRUE(key.writeString(u"Long", u"ABC"));
  EXPECT_EQ(key.readDword(u"Long", 5), 5u);
  EXPECT_EQ(key.readDword(u"Long", 9), 5u);
  EXPECT_FALSE(key.writeDword(nullptr, 1));
}

TEST_F(RegistryKeyTest, ReadBinaryFillsOnlyWhatIsStored) {
  RegistryKey key(hive_, kLocalMachine, kPath, true);
  const uint8_t two[2] = {0xAA, 0xBB};
  ASSERT_TRUE(key.writeBinary(u"Two", two, 2));
  uint8_t buffer[4] = {1, 2, 3, 4};
  uint32_t size = sizeof buffer;
  ASSERT_TRUE(key.readBinary(u"Two", buffer, &size));
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(buffer[0], 0xAA);
  EXPECT_EQ(buffer[2], 3);

  const uint8_t eight[8] = {};
  ASSERT_TRUE(key.writeBinary(u"Eight", eight, 8));
  size = sizeof buffer;
  EXPECT_FALSE(key.readBinary(u"Eight", buffer, &size));
  EXPECT_EQ(buffer[0], 0xAA);
  size = sizeof buffer;
  EXPECT_FALSE(key.readBinary(u"Missing", buffer, &size));
  EXPECT_FALSE(key.valueExists(u"Missing"));
  EXPECT_FALSE(key.readBinary(u"Two", buffer, nullptr));
}

TEST_F(RegistryKeyTest, ReadStringEndsAtTheFirstNulAndWritesOnlyAGivenDefault) {
  RegistryKey key(hive_, kLocalMachine, kPath, true);
  ASSERT_TRUE(key.writeString(u"Path", u"/data/EV.pvm"));
  EXPECT_EQ(key.readString(u"Path"), u"/data/EV.pvm");
  RegistryType type;
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(key.readRaw(u"Path", type, bytes));
  EXPECT_EQ(type, RegistryType::kString);
  EXPECT_EQ(bytes.size(), (12u + 1) * 2);

  const uint8_t odd[5] = {'a', 0, 0, 0, 'b'};  // "a", NUL, then a stray byte
  ASSERT_TRUE(key.writeBinary(u"Odd", odd, 5));
  EXPECT_EQ(key.readString(u"Odd"), u"a");
  const uint8_t unterminated[3] = {'x', 0, 'y'};
  ASSERT_TRUE(key.writeBinary(u"Unterminated", unterminated, 3));
  EXPECT_EQ(key.readString(u"Unterminated"), std::u16string(u"x") + char16_t('y'));

  EXPECT_EQ(key.readString(u"NoDefault"), u"");
  EXPECT_FALSE(key.valueExists(u"NoDefault"));
  EXPECT_EQ(key.readString(u"WithDefault", u"dflt"), u"dflt");
  EXPECT_EQ(key.readString(u"WithDefault"), u"dflt");
  EXPECT_EQ(key.readString(nullptr, u"x"), u"");
  EXPECT_FALSE(key.writeString(u"Name", nullptr));
}

TEST_F(RegistryKeyTest, DeleteSubkeyRemovesTheWholeTreeAndClosesWhatItOpened) {
  RegistryKey root(hive_, kLocalMachine, u"Software", true);
  {
    RegistryKey a(hive_, kLocalMachine, u"Software\\T\\A\\A1", true);
    RegistryKey b(hive_, kLocalMachine, u"Software\\T\\B", true);
    ASSERT_TRUE(a.writeDword(u"V", 1));
  }
  const int open = hive_->openKeyCount();
  EXPECT_TRUE(root.subkeyExists(u"T\\A\\A1"));
  EXPECT_TRUE(root.deleteSubkey(u"T"));
  EXPECT_FALSE(root.subkeyExists(u"T"));
  EXPECT_FALSE(root.deleteSubkey(u"T"));
  EXPECT_EQ(hive_->openKeyCount(), open);
}

TEST_F(RegistryKeyTest, EnumerationSharesOneIndex) {
  RegistryKey key(hive_, kLocalMachine, kPath, true);
  RegistryKey c(hive_, kLocalMachine, u"Software\\Velmarin\\Lexora\\Cc", true);
  RegistryKey b(hive_, kLocalMachine, u"Software\\Velmarin\\Lexora\\Bb", true);
  key.writeDword(u"Z", 1);
  key.writeDword(u"Y", 1);
  std::u16string name;
  ASSERT_TRUE(key.firstSubkey(name));
  EXPECT_EQ(name, u"Bb");
  ASSERT_TRUE(key.nextSubkey(name));
  EXPECT_EQ(name, u"Cc");
  EXPECT_FALSE(key.nextSubkey(name));
  EXPECT_EQ(name, u"");
  EXPECT_EQ(key.enumIndex(), 2u);
  ASSERT_TRUE(key.subkeyAt(1, name));
  EXPECT_EQ(name, u"Cc");
  ASSERT_TRUE(key.firstValue(name));
  EXPECT_EQ(name, u"Y");
  ASSERT_TRUE(key.nextValue(name));
  EXPECT_EQ(name, u"Z");
  EXPECT_FALSE(key.nextValue(name));
}

TEST_F(RegistryKeyTest, AKeyThatDidNotOpenReadsDefaultsAndWritesNothing) {
  RegistryKey missing(hive_, kLocalMachine, u"Nowhere", false);
  EXPECT_FALSE(missing.isOpen());
  EXPECT_EQ(missing.readDword(u"TotalDict", 0), 0u);
  EXPECT_FALSE(missing.writeDword(u"TotalDict", 1));
  EXPECT_EQ(missing.readString(u"Textture", u"x"), u"x");
  EXPECT_FALSE(missing.close());

  RegistryKey none(nullptr, kLocalMachine, kPath, true);
  EXPECT_FALSE(none.isOpen());
  std::u16string name = u"x";
  EXPECT_FALSE(none.firstValue(name));
  EXPECT_EQ(name, u"");

  hive_->setBroken(true);
  RegistryKey broken(hive_, kLocalMachine, kPath, true);
  EXPECT_FALSE(broken.isOpen());
  EXPECT_EQ(hive_->openKeyCount(), 0);
}

}  // namespace
}  // namespace lexora
