#include "app/settings.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry_sqlite.h"
#include "tests/support/registry_memory.h"

namespace lexora {
namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/lexora-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/registry.sqlite";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A fresh connection to the hive, as a new run of the program would make.
  std::unique_ptr<RegistryKey> openKey() {
    std::shared_ptr<Registry> hive = SqliteRegistry::open(path_, nullptr);
    return std::make_unique<RegistryKey>(hive, kLocalMachine, kSettingsKeyPath, true);
  }

  std::vector<std::pair<std::u16string, RegistryType>> listValues(RegistryKey& key) {
    std::vector<std::pair<std::u16string, RegistryType>> out;
    std::u16string name;
    for (bool more = key.firstValue(name); more; more = key.nextValue(name)) {
      RegistryType type;
      std::vector<uint8_t> bytes;
      EXPECT_TRUE(key.readRaw(name.c_str(), type, bytes));
      out.emplace_back(name, type);
    }
    return out;
  }

  std::string dir_;
  std::string path_;
};

TEST_F(SettingsTest, FirstRunWritesTheNineDwordDefaultsAndNothingElse) {
  auto key = openKey();
  ASSERT_TRUE(key->isOpen());
  Settings s;
  loadSettings(*key, s);
  EXPECT_EQ(s, Settings());

  auto again = openKey();
  const auto values = listValues(*again);
  ASSERT_EQ(values.size(), 9u);
  for (const auto& [name, type] : values) EXPECT_EQ(type, RegistryType::kDword);
  EXPECT_EQ(again->readDword(u"TotalDict", 99), 0u);
  EXPECT_EQ(again->readDword(u"WorkingDictIndex", 99), 0xFFFFFFFFu);
  EXPECT_EQ(again->readDword(u"ReverseDictIndex", 99), 0xFFFFFFFFu);
  EXPECT_EQ(again->readDword(u"TextSize", 99), 2u);
  EXPECT_EQ(again->readDword(u"UseClearType", 99), 1u);
  EXPECT_EQ(again->readDword(u"Time2Show", 99), 1u);
  EXPECT_EQ(again->readDword(u"UseTextture", 99), 0u);
  EXPECT_EQ(again->readDword(u"ShowIndexAtStarting", 99), 0u);
  EXPECT_EQ(again->readDword(u"ShowLookupButton", 99), 0u);
}

TEST_F(SettingsTest, SettingsPersistBetweenRuns) {
  Settings changed;
  changed.totalDict = 2;
  changed.workingDictIndex = 1;
  changed.reverseDictIndex = 0;
  changed.showLookupButton = 1;
  changed.dictionaryPaths[0] = u"/dicts/EV.pvm";
  changed.dictionaryPaths[1] = u"/dicts/VE \u00e9.pvm";
  changed.display.textSize = 4;
  changed.display.time2Show = 7;
  changed.display.styles[kIdiomStyle] = {1, 1, 0, 0x00123456};
  changed.display.useTexture = 1;
  changed.display.texturePath = u"/pictures/paper.gif";
  changed.display.backColor = 0x00C0FFEE;
  saveSettings(*openKey(), changed);

  Settings loaded;
  loadSettings(*openKey(), loaded);
  EXPECT_EQ(loaded, changed);
}

TEST_F(SettingsTest, PopupTimeIsClampedAndTheClampedValueIsSaved) {
  const std::pair<uint32_t, uint32_t> cases[] = {{0, 1}, {21, 20}, {0xFFFFFFFF, 1}, {20, 20}};
  for (const auto& [stored, expected] : cases) {
    openKey()->writeDword(u"Time2Show", stored);
    Settings s;
    loadSettings(*openKey(), s);
    EXPECT_EQ(s.display.time2Show, expected) << stored;
    saveSettings(*openKey(), s);
    EXPECT_EQ(openKey()->readDword(u"Time2Show", 99), expected);
  }
}

TEST_F(SettingsTest, DictionaryTableIsBoundedByTotalDict) {
  auto key = openKey();
  key->writeDword(u"TotalDict", 2);
  key->writeString(u"Dictionary2", u"/b.pvm");
  key->writeString(u"Dictionary3", u"/left-over.pvm");
  Settings s;
  loadSettings(*key, s);
  EXPECT_EQ(s.dictionaryPaths[0], u"");
  EXPECT_EQ(s.dictionaryPaths[1], u"/b.pvm");
  EXPECT_EQ(s.dictionaryPaths[2], u"");
  EXPECT_FALSE(key->valueExists(u"Dictionary1"));

  key->writeDword(u"TotalDict", 15);
  for (int k = 1; k <= 15; ++k) {
    key->writeString(dictionaryValueName(k).c_str(), dictionaryValueName(k).c_str());
  }
  loadSettings(*key, s);
  EXPECT_EQ(s.totalDict, 10);
  EXPECT_EQ(s.dictionaryPaths[9], u"Dictionary10");

  key->writeDword(u"TotalDict", static_cast<uint32_t>(-3));
  Settings negative;
  loadSettings(*key, negative);
  EXPECT_EQ(negative.totalDict, 0);
  EXPECT_EQ(negative.dictionaryPaths[0], u"");

  // Saving a shorter table leaves the values numbered above it.
  s.totalDict = 1;
  saveSettings(*key, s);
  EXPECT_TRUE(key->valueExists(u"Dictionary2"));
  loadSettings(*key, negative);
  EXPECT_EQ(negative.totalDict, 1);
  EXPECT_EQ(negative.dictionaryPaths[1], u"");
}

TEST_F(SettingsTest, StylesAndBackgroundReadWhatIsStoredInPlace) {
  auto key = openKey();
  const uint8_t zeros[16] = {};
  key->writeBinary(u"Style3", zeros, 16);
  const uint8_t shortStyle[4] = {1, 0, 0, 0};  // only the hidden flag
  key->writeBinary(u"Style4", shortStyle, 4);
  const uint8_t longColour[8] = {1, 2, 3, 4, 5, 6, 7, 8};  // too long: ignored
  key->writeBinary(u"BackColor", longColour, 8);
  key->writeDword(u"Style5", 0x01);  // a DWORD is read as the leading bytes of the record

  Settings s;
  loadSettings(*key, s);
  EXPECT_EQ(s.display.styles[kWordClassStyle], DisplayStyle{});
  EXPECT_EQ(s.display.styles[kMeaningStyle], (DisplayStyle{1, 0, 0, 0}));
  EXPECT_EQ(s.display.styles[kExampleStyle].hidden, 1u);
  EXPECT_EQ(s.display.styles[kWordStyle], kDefaultStyles[kWordStyle]);
  EXPECT_EQ(s.display.backColor, kDefaultBackColor);
}

TEST_F(SettingsTest, AFileThatIsNotAHiveGivesDefaultsAndKeepsItsBytes) {
  {
    std::ofstream out(path_, std::ios::binary);
    out << "this is not a database, but it is someone's file";
  }
  auto readAll = [&] {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string before = readAll();
  EXPECT_FALSE(openSettingsKey(path_));
  EXPECT_NE(settingsKeyError().find("not a registry"), std::string::npos);
  loadSettings();
  EXPECT_EQ(settings(), Settings());
  settings().totalDict = 3;
  saveSettings();
  writeShowLookupButton(settingsKey(), 1);
  EXPECT_EQ(readAll(), before);
  settings() = Settings();

  // A foreign SQLite database is left as it was, too.
  fs::remove(path_);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES(42);", nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(db);
  const std::string foreign = readAll();
  EXPECT_FALSE(openSettingsKey(path_));
  saveSettings();
  EXPECT_EQ(readAll(), foreign);
  openSettingsKey(std::shared_ptr<Registry>());
}

TEST_F(SettingsTest, TheProcessKeyFollowsLexoraRegistry) {
  const char* saved = getenv("LEXORA_REGISTRY");
  const std::string keep = saved != nullptr ? saved : "";
  const std::string path = dir_ + "/sub/dir/hive.sqlite";
  setenv("LEXORA_REGISTRY", path.c_str(), 1);
  EXPECT_TRUE(openSettingsKey(std::string()));
  EXPECT_EQ(settingsKeyError(), "");
  settings().display.textSize = 3;
  saveSettings();
  settings() = Settings();
  loadSettings();
  EXPECT_EQ(settings().display.textSize, 3u);
  EXPECT_TRUE(fs::exists(path));
  settings() = Settings();
  openSettingsKey(std::shared_ptr<Registry>());
  if (saved != nullptr) {
    setenv("LEXORA_REGISTRY", keep.c_str(), 1);
  } else {
    unsetenv("LEXORA_REGISTRY");
  }
}

TEST_F(SettingsTest, NestedSubkeysAreDeletedAsATreeAndTheSentinelWritesNothing) {
  auto key = openKey();
  {
    RegistryKey deep(SqliteRegistry::open(path_, nullptr), kLocalMachine,
                     u"Software\\Velmarin\\Lexora\\H\\A\\B", true);
    ASSERT_TRUE(deep.writeDword(u"V", 1));
    RegistryKey side(SqliteRegistry::open(path_, nullptr), kLocalMachine,
                     u"Software\\Velmarin\\Lexora\\H\\C", true);
    ASSERT_TRUE(side.isOpen());
  }
  EXPECT_TRUE(key->deleteSubkey(u"H"));
  EXPECT_FALSE(openKey()->subkeyExists(u"H"));
  EXPECT_FALSE(key->deleteSubkey(u"H"));
  EXPECT_EQ(key->readDword(u"Nothing", RegistryKey::kNoWriteBack), 0xDEF0u);
  EXPECT_FALSE(openKey()->valueExists(u"Nothing"));
}

// Forwards to an in-memory hive and records every value written, in order.
class RecordingRegistry final : public Registry {
 public:
  struct Write {
    std::u16string name;
    RegistryType type;
    std::vector<uint8_t> bytes;
  };
  std::vector<Write> writes;

  RegistryStatus createKey(RegistryHandle parent, std::u16string_view path, RegistryHandle* key,
                           RegistryDisposition* disposition) override {
    return hive_.createKey(parent, path, key, disposition);
  }
  RegistryStatus openKey(RegistryHandle parent, std::u16string_view path,
                         RegistryHandle* key) override {
    return hive_.openKey(parent, path, key);
  }
  RegistryStatus closeKey(RegistryHandle key) override { return hive_.closeKey(key); }
  RegistryStatus queryValue(RegistryHandle key, std::u16string_view name, RegistryType* type,
                            uint8_t* data, uint32_t* size) override {
    return hive_.queryValue(key, name, type, data, size);
  }
  RegistryStatus setValue(RegistryHandle key, std::u16string_view name, RegistryType type,
                          const uint8_t* data, uint32_t size) override {
    writes.push_back({std::u16string(name), type, std::vector<uint8_t>(data, data + size)});
    return hive_.setValue(key, name, type, data, size);
  }
  RegistryStatus deleteValue(RegistryHandle key, std::u16string_view name) override {
    return hive_.deleteValue(key, name);
  }
  RegistryStatus enumKey(RegistryHandle key, uint32_t index, std::u16string* name) override {
    return hive_.enumKey(key, index, name);
  }
  RegistryStatus enumValue(RegistryHandle key, uint32_t index, std::u16string* name) override {
    return hive_.enumValue(key, index, name);
  }
  RegistryStatus deleteKey(RegistryHandle parent, std::u16string_view path) override {
    return hive_.deleteKey(parent, path);
  }

 private:
  MemoryRegistry hive_;
};

TEST(SettingsOrderTest, LoadAndSaveWriteTheValuesInTheirOrderUnderTheirStoredNames) {
  auto hive = std::make_shared<RecordingRegistry>();
  RegistryKey key(hive, kLocalMachine, kSettingsKeyPath, true);
  Settings s;
  loadSettings(key, s);
  std::vector<std::u16string> names;
  for (const auto& w : hive->writes) {
    EXPECT_EQ(w.type, RegistryType::kDword) << std::string(w.name.begin(), w.name.end());
    names.push_back(w.name);
  }
  EXPECT_EQ(names,
            (std::vector<std::u16string>{u"TotalDict", u"WorkingDictIndex", u"ReverseDictIndex",
                                         u"TextSize", u"UseClearType", u"ShowLookupButton",
                                         u"ShowIndexAtStarting", u"Time2Show", u"UseTextture"}));

  hive->writes.clear();
  s.totalDict = 1;
  s.dictionaryPaths[0] = u"/d";
  saveSettings(key, s);
  using T = RegistryType;
  const std::vector<std::pair<std::u16string, T>> expected = {{u"TotalDict", T::kDword},
                                                              {u"WorkingDictIndex", T::kDword},
                                                              {u"ReverseDictIndex", T::kDword},
                                                              {u"TextSize", T::kDword},
                                                              {u"UseClearType", T::kDword},
                                                              {u"ShowLookupButton", T::kDword},
                                                              {u"ShowIndexAtStarting", T::kDword},
                                                              {u"Dictionary1", T::kString},
                                                              {u"Time2Show", T::kDword},
                                                              {u"Style1", T::kBinary},
                                                              {u"Style2", T::kBinary},
                                                              {u"Style3", T::kBinary},
                                                              {u"Style4", T::kBinary},
                                                              {u"Style5", T::kBinary},
                                                              {u"Style6", T::kBinary},
                                                              {u"Style7", T::kBinary},
                                                              {u"UseTextture", T::kDword},
                                                              {u"Textture", T::kString},
                                                              {u"BackColor", T::kBinary}};
  ASSERT_EQ(hive->writes.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(hive->writes[i].name, expected[i].first) << i;
    EXPECT_EQ(hive->writes[i].type, expected[i].second) << i;
  }
  // Style2 (magenta pronunciation): hidden, bold, italic, colour, little-endian.
  EXPECT_EQ(hive->writes[10].bytes,
            (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0}));
  EXPECT_EQ(hive->writes[7].bytes, (std::vector<uint8_t>{'/', 0, 'd', 0, 0, 0}));
  EXPECT_EQ(hive->writes[17].bytes, (std::vector<uint8_t>{0, 0}));  // empty texture path
  EXPECT_EQ(hive->writes[18].bytes, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0}));
}

TEST(LookupButtonSettingsTest, FirstStartWritesTheFourDefaultsInOrder) {
  auto hive = std::make_shared<MemoryRegistry>();
  RegistryKey key(hive, kLocalMachine, kSettingsKeyPath, true);
  EXPECT_EQ(readShowLookupButton(key), 0u);
  key.writeDword(u"Freeze", 2);
  const LookupButtonSettings b = readLookupButtonSettings(key);
  EXPECT_EQ(b.xPos, 180);
  EXPECT_EQ(b.yPos, 298);
  EXPECT_TRUE(b.freeze);
  EXPECT_FALSE(b.showPopup);
  EXPECT_EQ(key.readDword(u"ShowPopup", 9), 0u);

  ASSERT_TRUE(writeLookupButtonPosition(key, -4, 12));
  ASSERT_TRUE(writeShowPopup(key, true));
  const LookupButtonSettings moved = readLookupButtonSettings(key);
  EXPECT_EQ(moved.xPos, -4);
  EXPECT_EQ(moved.yPos, 12);
  EXPECT_TRUE(moved.showPopup);
}

}  // namespace
}  // namespace lexora
