#pragma once
// The registry hive kept in one SQLite file, shared by every program of the system.
//
// Every write is its own committed transaction; readers see the writes of other processes at
// their next call; a writer that finds the file locked waits up to five seconds. The file is
// journalled (write-ahead log, full sync), so a crash never leaves a half-written value.
//
// A file that is not a hive made by this class (garbage, another SQLite database, a file
// that cannot be written) is refused and never changed.

#include <memory>
#include <string>

#include "platform/registry.h"

struct sqlite3;
struct sqlite3_stmt;

namespace lexora {

class SqliteRegistry final : public Registry {
 public:
  // Opens the hive at `path`. When no file exists there, a new hive is built beside it and
  // moved into place (creating the folder); when a file exists it must be a hive.
  // Null, with *error naming the file and the reason, when it cannot be used.
  static std::unique_ptr<SqliteRegistry> open(const std::string& path, std::string* error);

  ~SqliteRegistry() override;
  SqliteRegistry(const SqliteRegistry&) = delete;
  SqliteRegistry& operator=(const SqliteRegistry&) = delete;

  RegistryStatus createKey(RegistryHandle parent, std::u16string_view path, RegistryHandle* key,
                           RegistryDisposition* disposition) override;
  RegistryStatus openKey(RegistryHandle parent, std::u16string_view path,
                         RegistryHandle* key) override;
  RegistryStatus closeKey(RegistryHandle key) override;
  RegistryStatus queryValue(RegistryHandle key, std::u16string_view name, RegistryType* type,
                            uint8_t* data, uint32_t* size) override;
  RegistryStatus setValue(RegistryHandle key, std::u16string_view name, RegistryType type,
                          const uint8_t* data, uint32_t size) override;
  RegistryStatus deleteValue(RegistryHandle key, std::u16string_view name) override;
  RegistryStatus enumKey(RegistryHandle key, uint32_t index, std::u16string* name) override;
  RegistryStatus enumValue(RegistryHandle key, uint32_t index, std::u16string* name) override;
  RegistryStatus deleteKey(RegistryHandle parent, std::u16string_view path) override;

  const std::string& path() const { return path_; }

 private:
  SqliteRegistry(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  RegistryStatus enumName(const char* sql, RegistryHandle key, uint32_t index,
                          std::u16string* name);

  sqlite3* db_;
  std::string path_;
  // The value read, prepared once: reading the settings asks for some forty values, and
  // preparing the statement for each was a tenth of a lookup from the command line.
  sqlite3_stmt* readValue_ = nullptr;
};

}  // namespace lexora
