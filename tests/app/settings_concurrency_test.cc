// Two processes writing and reading the settings key of one hive at the same time.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/settings.h"
#include "platform/registry_sqlite.h"

namespace lexora {
namespace {

constexpr int kWritesPerProcess = 150;

std::u16string valueName(int writer, int i) {
  const std::string name = "W" + std::to_string(writer) + "_" + std::to_string(i);
  return std::u16string(name.begin(), name.end());
}

// The child's work: its own connection, each value written then read back, and the shared
// counter value read while the other process writes. Returns the exit status.
int writeMany(const std::string& path, int writer) {
  std::shared_ptr<Registry> hive = SqliteRegistry::open(path, nullptr);
  RegistryKey key(hive, kLocalMachine, kSettingsKeyPath, true);
  if (!key.isOpen()) return 10;
  for (int i = 0; i < kWritesPerProcess; ++i) {
    const std::u16string name = valueName(writer, i);
    const uint32_t value = static_cast<uint32_t>(writer * 100000 + i);
    if (!key.writeDword(name.c_str(), value)) return 11;
    if (key.readDword(name.c_str(), RegistryKey::kNoWriteBack) != value) return 12;
    if (!key.writeString(u"Shared", name.c_str())) return 13;
    if (key.readString(u"Shared").empty()) return 14;
  }
  return 0;
}

TEST(SettingsConcurrencyTest, TwoProcessesWritingAtOnceLoseNothing) {
  char pattern[] = "/tmp/lexora-concurrent-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  const std::string path = dir + "/registry.sqlite";

  pid_t children[2];
  for (int writer = 0; writer < 2; ++writer) {
    children[writer] = fork();
    ASSERT_GE(children[writer], 0);
    if (children[writer] == 0) _exit(writeMany(path, writer));
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }

  std::shared_ptr<Registry> hive = SqliteRegistry::open(path, nullptr);
  RegistryKey key(hive, kLocalMachine, kSettingsKeyPath, false);
  ASSERT_TRUE(key.isOpen());
  int found = 0;
  for (int writer = 0; writer < 2; ++writer) {
    for (int i = 0; i < kWritesPerProcess; ++i) {
      const std::u16string name = valueName(writer, i);
      found += key.readDword(name.c_str(), RegistryKey::kNoWriteBack) ==
               static_cast<uint32_t>(writer * 100000 + i);
    }
  }
  EXPECT_EQ(found, 2 * kWritesPerProcess);
  const std::u16string last = key.readString(u"Shared");
  EXPECT_TRUE(last == valueName(0, kWritesPerProcess - 1) ||
              last == valueName(1, kWritesPerProcess - 1));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lexora
