// The settings store on a damaged SQLite file: it is refused, or the settings load and save
// without crossing a bound.

#include <memory>

#include "app/settings.h"
#include "platform/registry_sqlite.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::scratchFolder() + "/registry.sqlite";
  for (const char* extra : {"-wal", "-shm", "-journal"}) std::remove((path + extra).c_str());
  fuzz::writeBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
  std::string error;
  std::shared_ptr<Registry> registry = SqliteRegistry::open(path, &error);
  if (!registry) return 0;
  openSettingsKey(registry);
  loadSettings();
  saveSettings();
  openSettingsKey(std::shared_ptr<Registry>());
  return 0;
}
