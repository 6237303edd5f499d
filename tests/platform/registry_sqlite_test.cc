#include "platform/registry_sqlite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry_location.h"
#include "tests/support/run_in_child.h"

namespace lexora {
namespace {

namespace fs = std::filesystem;

class SqliteRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/lexora-registry-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string file(const std::string& name) const { return dir_ + "/" + name; }

  static std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string dir_;
};

TEST_F(SqliteRegistryTest, KeysAndValuesKeepTheirBytesAcrossReopening) {
  const std::string path = file("nested/folder/registry.sqlite");
  {
    std::string error;
    auto hive = SqliteRegistry::open(path, &error);
    ASSERT_NE(hive, nullptr) << error;
    RegistryHandle key = 0;
    RegistryDisposition made = RegistryDisposition::kNone;
    ASSERT_EQ(hive->createKey(kLocalMachine, u"Software\\Velmarin\\Lexora", &key, &made),
              RegistryStatus::kOk);
    EXPECT_EQ(made, RegistryDisposition::kCreatedNewKey);
    const uint8_t dword[4] = {10, 0, 0, 0};
    const uint8_t blob[5] = {0, 0xFF, 0, 7, 0};
    EXPECT_EQ(hive->setValue(key, u"Time2Show", RegistryType::kDword, dword, 4),
              RegistryStatus::kOk);
    EXPECT_EQ(hive->setValue(key, u"Blob", RegistryType::kBinary, blob, 5), RegistryStatus::kOk);
    EXPECT_EQ(hive->setValue(key, u"Empty", RegistryType::kBinary, nullptr, 0),
              RegistryStatus::kOk);
    RegistryHandle again = 0;
    ASSERT_EQ(hive->createKey(kLocalMachine, u"software\\VELMARIN\\Lexora", &again, &made),
              RegistryStatus::kOk);
    EXPECT_EQ(made, RegistryDisposition::kOpenedExistingKey);
    EXPECT_EQ(again, key);
  }
  auto hive = SqliteRegistry::open(path, nullptr);
  ASSERT_NE(hive, nullptr);
  RegistryHandle key = 0;
  ASSERT_EQ(hive->openKey(kLocalMachine, u"Software\\Velmarin\\Lexora", &key), RegistryStatus::kOk);

  RegistryType type = RegistryType::kNone;
  uint8_t buffer[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  uint32_t size = 4;  // too small for the 5-byte value: fails and leaves the buffer alone
  EXPECT_EQ(hive->queryValue(key, u"blob", &type, buffer, &size), RegistryStatus::kMoreData);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(buffer[0], 9);
  size = sizeof buffer;
  ASSERT_EQ(hive->queryValue(key, u"Blob", &type, buffer, &size), RegistryStatus::kOk);
  EXPECT_EQ(type, RegistryType::kBinary);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), std::string("\0\xFF\0\7\0", 5));
  size = 0;
  EXPECT_EQ(hive->queryValue(key, u"Empty", &type, nullptr, &size), RegistryStatus::kOk);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(hive->queryValue(key, u"Missing", &type, nullptr, &size), RegistryStatus::kNotFound);

  std::u16string name;
  ASSERT_EQ(hive->enumValue(key, 0, &name), RegistryStatus::kOk);
  EXPECT_EQ(name, u"Blob");
  ASSERT_EQ(hive->enumValue(key, 2, &name), RegistryStatus::kOk);
  EXPECT_EQ(name, u"Time2Show");
  EXPECT_EQ(hive->enumValue(key, 3, &name), RegistryStatus::kNotFound);

  EXPECT_EQ(hive->deleteValue(key, u"Blob"), RegistryStatus::kOk);
  EXPECT_EQ(hive->deleteValue(key, u"Blob"), RegistryStatus::kNotFound);
}

TEST_F(SqliteRegistryTest, KeyTreeDeletionIsTheCallersWalk) {
  auto hive = SqliteRegistry::open(file("r.sqlite"), nullptr);
  ASSERT_NE(hive, nullptr);
  RegistryHandle a = 0, b = 0;
  ASSERT_EQ(hive->createKey(kLocalMachine, u"A\\B", &b, nullptr), RegistryStatus::kOk);
  ASSERT_EQ(hive->openKey(kLocalMachine, u"A", &a), RegistryStatus::kOk);
  const uint8_t one[4] = {1, 0, 0, 0};
  ASSERT_EQ(hive->setValue(b, u"V", RegistryType::kDword, one, 4), RegistryStatus::kOk);

  std::u16string name;
  ASSERT_EQ(hive->enumKey(a, 0, &name), RegistryStatus::kOk);
  EXPECT_EQ(name, u"B");
  EXPECT_EQ(hive->deleteKey(kLocalMachine, u"A"), RegistryStatus::kHasSubkeys);
  EXPECT_EQ(hive->deleteKey(a, u"B"), RegistryStatus::kOk);
  EXPECT_EQ(hive->deleteKey(kLocalMachine, u"A"), RegistryStatus::kOk);
  EXPECT_EQ(hive->deleteKey(kLocalMachine, u"A"), RegistryStatus::kNotFound);

  // A handle of a deleted key reads nothing and cannot be written through.
  uint32_t size = 0;
  EXPECT_EQ(hive->queryValue(b, u"V", nullptr, nullptr, &size), RegistryStatus::kNotFound);
  EXPECT_NE(hive->setValue(b, u"V", RegistryType::kDword, one, 4), RegistryStatus::kOk);
  RegistryHandle bad = 0;
  EXPECT_EQ(hive->createKey(kLocalMachine, u"A\\\\B", &bad, nullptr), RegistryStatus::kInvalid);
  EXPECT_EQ(hive->openKey(kLocalMachine, u"A", &bad), RegistryStatus::kNotFound);
}

TEST_F(SqliteRegistryTest, FilesThatAreNotAHiveAreRefusedAndLeftUnchanged) {
  const std::string garbage = file("garbage.sqlite");
  {
    std::ofstream out(garbage, std::ios::binary);
    for (int i = 0; i < 4096; ++i) out.put(static_cast<char>(i * 37));
  }
  const std::string foreign = file("foreign.sqlite");
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(x TEXT); INSERT INTO notes VALUES('keep');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }
  const std::string empty = file("empty.sqlite");
  std::ofstream(empty).close();

  for (const std::string& path : {garbage, foreign, empty}) {
    const std::string before = contents(path);
    std::string error;
    EXPECT_EQ(SqliteRegistry::open(path, &error), nullptr) << path;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(contents(path), before) << path;
    EXPECT_FALSE(fs::exists(path + "-journal")) << path;
  }

  // A hive that cannot be written is refused too (root may write anything: skip then).
  const std::string readOnly = file("readonly.sqlite");
  ASSERT_NE(SqliteRegistry::open(readOnly, nullptr), nullptr);
  chmod(readOnly.c_str(), 0400);
  if (access(readOnly.c_str(), W_OK) != 0) {
    EXPECT_EQ(SqliteRegistry::open(readOnly, nullptr), nullptr);
  }

  std::string error;
  EXPECT_EQ(SqliteRegistry::open(dir_, &error), nullptr);  // a folder
  EXPECT_EQ(SqliteRegistry::open("", &error), nullptr);
}

// A hive that another program holds locked is the user's data: say so, never "not a
// registry file", which invites deleting it.
TEST_F(SqliteRegistryTest, ALockedHiveIsReportedAsLockedAndLeftWhole) {
  const std::string path = file("locked.sqlite");
  ASSERT_NE(SqliteRegistry::open(path, nullptr), nullptr);
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder,
                         "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                         "UPDATE lexora_registry SET format = format;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  std::string error;
  EXPECT_EQ(SqliteRegistry::open(path, &error), nullptr);
  EXPECT_EQ(error.find("not a registry"), std::string::npos) << error;
  EXPECT_NE(error.find("locked"), std::string::npos) << error;
  sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  EXPECT_NE(SqliteRegistry::open(path, nullptr), nullptr);
}

// On a full disk a write fails and leaves the stored values as they were, and the store is
// never called "not a registry file".
TEST_F(SqliteRegistryTest, AFullDiskKeepsTheHiveAsItWas) {
  const std::string path = file("full.sqlite");
  const uint8_t kept[4] = {7, 0, 0, 0};
  {
    auto hive = SqliteRegistry::open(path, nullptr);
    ASSERT_NE(hive, nullptr);
    RegistryHandle key = 0;
    ASSERT_EQ(hive->createKey(kLocalMachine, u"Software\\Lexora", &key, nullptr),
              RegistryStatus::kOk);
    ASSERT_EQ(hive->setValue(key, u"Kept", RegistryType::kDword, kept, 4), RegistryStatus::kOk);
  }
  const auto storeSize = static_cast<rlim_t>(fs::file_size(path));
  const std::string out = test::runInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    auto hive = SqliteRegistry::open(path, nullptr);
    RegistryHandle key = 0;
    if (hive == nullptr ||
        hive->openKey(kLocalMachine, u"Software\\Lexora", &key) != RegistryStatus::kOk)
      return std::string("cannot open");
    if (!test::limitTo(RLIMIT_FSIZE, storeSize)) return std::string("cannot limit");
    const std::vector<uint8_t> big(1 << 16, 1);
    const RegistryStatus written = hive->setValue(key, u"Big", RegistryType::kBinary, big.data(),
                                                  static_cast<uint32_t>(big.size()));
    hive.reset();
    std::string error;
    const bool reopened = SqliteRegistry::open(path, &error) != nullptr;
    return std::string(written == RegistryStatus::kOk ? "written" : "failed") + " " +
           (reopened ? "reopened" : error);
  });
  EXPECT_EQ(out.rfind("failed ", 0), 0u) << out;
  EXPECT_EQ(out.find("not a registry"), std::string::npos) << out;

  auto hive = SqliteRegistry::open(path, nullptr);
  ASSERT_NE(hive, nullptr);
  RegistryHandle key = 0;
  ASSERT_EQ(hive->openKey(kLocalMachine, u"Software\\Lexora", &key), RegistryStatus::kOk);
  uint8_t value[4] = {};
  uint32_t size = sizeof value;
  RegistryType type = RegistryType::kNone;
  ASSERT_EQ(hive->queryValue(key, u"Kept", &type, value, &size), RegistryStatus::kOk);
  EXPECT_EQ(value[0], 7);
  size = 0;
  EXPECT_EQ(hive->queryValue(key, u"Big", &type, nullptr, &size), RegistryStatus::kNotFound);
}

TEST(RegistryLocationTest, FollowsTheEnvironment) {
  const char* saved[3] = {getenv("LEXORA_REGISTRY"), getenv("XDG_CONFIG_HOME"), getenv("HOME")};
  const std::string keep[3] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "",
                               saved[2] ? saved[2] : ""};
  setenv("LEXORA_REGISTRY", "/tmp/x/hive.sqlite", 1);
  EXPECT_EQ(defaultRegistryPath(), "/tmp/x/hive.sqlite");
  unsetenv("LEXORA_REGISTRY");
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(defaultRegistryPath(), "/cfg/lexora/registry.sqlite");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(defaultRegistryPath(), "/home/u/.config/lexora/registry.sqlite");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(defaultRegistryPath(), "/home/u/.config/lexora/registry.sqlite");

  const char* names[3] = {"LEXORA_REGISTRY", "XDG_CONFIG_HOME", "HOME"};
  for (int i = 0; i < 3; ++i) {
    if (saved[i] != nullptr) {
      setenv(names[i], keep[i].c_str(), 1);
    } else {
      unsetenv(names[i]);
    }
  }
}

}  // namespace
}  // namespace lexora
