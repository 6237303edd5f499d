#include "platform/registry_sqlite.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace lexora {
namespace {

// "LXRG" in PRAGMA user_version marks a hive; the marker table holds its format number.
constexpr int kHiveMagic = 0x4C585247;
constexpr int kHiveFormat = 1;
constexpr int kBusyTimeoutMs = 5000;

const char kSchema[] =
    "CREATE TABLE lexora_registry(format INTEGER NOT NULL);"
    "INSERT INTO lexora_registry VALUES(1);"
    "CREATE TABLE reg_keys("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  parent INTEGER REFERENCES reg_keys(id),"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  UNIQUE(parent, name));"
    "INSERT INTO reg_keys(id, parent, name) VALUES(1, NULL, 'HKEY_LOCAL_MACHINE');"
    "INSERT INTO reg_keys(id, parent, name) VALUES(2, NULL, 'HKEY_CURRENT_USER');"
    "CREATE TABLE reg_values("
    "  key INTEGER NOT NULL REFERENCES reg_keys(id) ON DELETE CASCADE,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  PRIMARY KEY(key, name)) WITHOUT ROWID;"
    "PRAGMA user_version = 1280856647;";  // kHiveMagic
static_assert(kHiveMagic == 1280856647);

// One prepared statement, finalized on scope exit.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  sqlite3_stmt* get() { return stmt_; }

  void bind(int i, int64_t v) { sqlite3_bind_int64(stmt_, i, v); }
  void bind(int i, std::u16string_view text) {
    static const char16_t kEmpty[] = u"";
    const char16_t* data = text.empty() ? kEmpty : text.data();
    sqlite3_bind_text16(stmt_, i, data, static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
  }
  void bindBlob(int i, const uint8_t* data, uint32_t size) {
    if (size == 0) {
      sqlite3_bind_zeroblob(stmt_, i, 0);
    } else {
      sqlite3_bind_blob(stmt_, i, data, static_cast<int>(size), SQLITE_TRANSIENT);
    }
  }
  int step() { return stmt_ != nullptr ? sqlite3_step(stmt_) : SQLITE_ERROR; }

  std::u16string text16(int column) {
    const void* p = sqlite3_column_text16(stmt_, column);
    const int bytes = sqlite3_column_bytes16(stmt_, column);
    if (p == nullptr || bytes <= 0) return std::u16string();
    return std::u16string(static_cast<const char16_t*>(p), static_cast<size_t>(bytes) / 2);
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

bool exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Splits a key path at '\\'. False for an empty component or an embedded NUL.
bool splitPath(std::u16string_view path, std::vector<std::u16string_view>* parts) {
  parts->clear();
  if (path.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t end = path.find(u'\\', start);
    const std::u16string_view part = path.substr(
        start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
    if (part.empty() || part.find(u'\0') != std::u16string_view::npos) return false;
    parts->push_back(part);
    if (end == std::u16string_view::npos) return true;
    start = end + 1;
  }
}

bool validValueName(std::u16string_view name) {
  return name.find(u'\0') == std::u16string_view::npos;
}

RegistryStatus stepStatus(int rc) {
  if (rc == SQLITE_CONSTRAINT) return RegistryStatus::kNotFound;  // the key was deleted
  return RegistryStatus::kFailed;
}

// The child `name` of `parent`: 0 when missing, -1 on a read failure.
int64_t findChild(sqlite3* db, int64_t parent, std::u16string_view name) {
  Statement s(db, "SELECT id FROM reg_keys WHERE parent = ?1 AND name = ?2");
  if (!s.ok()) return -1;
  s.bind(1, parent);
  s.bind(2, name);
  const int rc = s.step();
  if (rc == SQLITE_ROW) return sqlite3_column_int64(s.get(), 0);
  return rc == SQLITE_DONE ? 0 : -1;
}

bool keyExists(sqlite3* db, int64_t key, bool* failed) {
  Statement s(db, "SELECT 1 FROM reg_keys WHERE id = ?1");
  s.bind(1, key);
  const int rc = s.step();
  *failed = rc != SQLITE_ROW && rc != SQLITE_DONE;
  return rc == SQLITE_ROW;
}

// Resolves `parts` below `parent`; kNotFound when a component is missing.
RegistryStatus resolve(sqlite3* db, int64_t parent, const std::vector<std::u16string_view>& parts,
                       int64_t* key) {
  int64_t current = parent;
  bool failed = false;
  if (!keyExists(db, current, &failed)) {
    return failed ? RegistryStatus::kFailed : RegistryStatus::kNotFound;
  }
  for (const std::u16string_view part : parts) {
    const int64_t child = findChild(db, current, part);
    if (child < 0) return RegistryStatus::kFailed;
    if (child == 0) return RegistryStatus::kNotFound;
    current = child;
  }
  *key = current;
  return RegistryStatus::kOk;
}

// Runs `body` inside BEGIN IMMEDIATE ... COMMIT, so that the write lock is taken up front
// (waiting through the busy timeout) and the change is committed on its own. A body that
// fails rolls back.
template <typename Body>
RegistryStatus writeTransaction(sqlite3* db, Body body) {
  if (!exec(db, "BEGIN IMMEDIATE")) return RegistryStatus::kFailed;
  const RegistryStatus status = body();
  if (status != RegistryStatus::kOk) {
    exec(db, "ROLLBACK");
    return status;
  }
  if (!exec(db, "COMMIT")) {
    exec(db, "ROLLBACK");
    return RegistryStatus::kFailed;
  }
  return RegistryStatus::kOk;
}

std::string parentFolder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool makeFolders(const std::string& folder) {
  if (folder.empty() || folder == "/") return true;
  struct stat st;
  if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  if (!makeFolders(parentFolder(folder))) return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string sqliteError(sqlite3* db) {
  return db != nullptr ? sqlite3_errmsg(db) : "out of memory";
}

// Builds an empty hive in a private file beside `path` and links it into place without ever
// replacing a file that appeared there meanwhile (another process starting at the same time).
bool createHive(const std::string& path, std::string* error) {
  if (!makeFolders(parentFolder(path))) {
    *error = "cannot create the folder of " + path + ": " + std::strerror(errno);
    return false;
  }
  const std::string temp = path + ".new-" + std::to_string(getpid());
  unlink(temp.c_str());
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(
      temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  bool built = rc == SQLITE_OK && exec(db, "PRAGMA journal_mode=WAL") &&
               exec(db, "PRAGMA synchronous=FULL") &&
               exec(db, (std::string("BEGIN;") + kSchema + "COMMIT;").c_str());
  if (!built) *error = "cannot create " + temp + ": " + sqliteError(db);
  sqlite3_close(db);
  if (built) {
    if (link(temp.c_str(), path.c_str()) != 0 && errno != EEXIST) {
      // A file system without hard links: a rename that never replaces.
      if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0 &&
          errno != EEXIST) {
        *error = "cannot create " + path + ": " + std::strerror(errno);
        built = false;
      }
    }
  }
  unlink(temp.c_str());
  unlink((temp + "-wal").c_str());
  unlink((temp + "-shm").c_str());
  return built;
}

// Whether a statement that did not give a row failed for a passing reason: another program
// holds the file locked, the disk is full, an I/O error. Else the file holds something else.
bool failedForNow(sqlite3* db) {
  switch (sqlite3_errcode(db) & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_NOMEM:
    case SQLITE_READONLY:
    case SQLITE_PROTOCOL:
      return true;
    default:
      return false;
  }
}

// kOk when the open database carries this class's marks, kNotFound when it holds something
// else, kFailed when it cannot be read now (sqlite3_errmsg says why).
RegistryStatus readMarks(sqlite3* db) {
  Statement version(db, "PRAGMA user_version");
  if (version.step() != SQLITE_ROW) {
    return failedForNow(db) ? RegistryStatus::kFailed : RegistryStatus::kNotFound;
  }
  if (sqlite3_column_int(version.get(), 0) != kHiveMagic) return RegistryStatus::kNotFound;
  Statement marker(db, "SELECT format FROM lexora_registry");
  if (marker.step() != SQLITE_ROW) {
    return failedForNow(db) ? RegistryStatus::kFailed : RegistryStatus::kNotFound;
  }
  return sqlite3_column_int(marker.get(), 0) == kHiveFormat ? RegistryStatus::kOk
                                                            : RegistryStatus::kNotFound;
}

}  // namespace

std::unique_ptr<SqliteRegistry> SqliteRegistry::open(const std::string& path, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (path.empty()) {
    *error = "no place for the registry (set LEXORA_REGISTRY or HOME)";
    return nullptr;
  }
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      *error = "cannot read " + path + ": " + std::strerror(errno);
      return nullptr;
    }
    if (!createHive(path, error)) return nullptr;
  } else if (!S_ISREG(st.st_mode)) {
    *error = path + " is not a registry file";
    return nullptr;
  }

  // The file exists now: open it without the right to create, so that nothing is made in
  // its place, and look at its marks before anything else touches it.
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    *error = "cannot open " + path + ": " + sqliteError(db);
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  if (sqlite3_db_readonly(db, "main") != 0) {
    *error = "cannot write " + path + ": the file is read-only";
    sqlite3_close(db);
    return nullptr;
  }
  if (const RegistryStatus marks = readMarks(db); marks != RegistryStatus::kOk) {
    *error = marks == RegistryStatus::kNotFound
                 ? path + " is not a registry file (left unchanged)"
                 : "cannot read " + path + ": " + sqliteError(db) + " (left unchanged)";
    sqlite3_close(db);
    return nullptr;
  }
  if (!exec(db, "PRAGMA synchronous=FULL") || !exec(db, "PRAGMA foreign_keys=ON")) {
    *error = "cannot open " + path + ": " + sqliteError(db);
    sqlite3_close(db);
    return nullptr;
  }
  return std::unique_ptr<SqliteRegistry>(new SqliteRegistry(db, path));
}

SqliteRegistry::~SqliteRegistry() {
  sqlite3_finalize(readValue_);
  sqlite3_close(db_);
}

RegistryStatus SqliteRegistry::createKey(RegistryHandle parent, std::u16string_view path,
                                         RegistryHandle* key, RegistryDisposition* disposition) {
  std::vector<std::u16string_view> parts;
  if (key == nullptr || parent == kNoRegistryKey || !splitPath(path, &parts)) {
    return RegistryStatus::kInvalid;
  }
  RegistryDisposition made = RegistryDisposition::kOpenedExistingKey;
  int64_t current = parent;
  const RegistryStatus status = writeTransaction(db_, [&]() {
    bool failed = false;
    if (!keyExists(db_, current, &failed)) {
      return failed ? RegistryStatus::kFailed : RegistryStatus::kNotFound;
    }
    for (const std::u16string_view part : parts) {
      int64_t child = findChild(db_, current, part);
      if (child < 0) return RegistryStatus::kFailed;
      if (child == 0) {
        Statement insert(db_, "INSERT INTO reg_keys(parent, name) VALUES(?1, ?2)");
        insert.bind(1, current);
        insert.bind(2, part);
        if (insert.step() != SQLITE_DONE) return RegistryStatus::kFailed;
        child = sqlite3_last_insert_rowid(db_);
        made = RegistryDisposition::kCreatedNewKey;
      } else {
        made = RegistryDisposition::kOpenedExistingKey;
      }
      current = child;
    }
    return RegistryStatus::kOk;
  });
  if (status != RegistryStatus::kOk) return status;
  *key = current;
  if (disposition != nullptr) *disposition = made;
  return RegistryStatus::kOk;
}

RegistryStatus SqliteRegistry::openKey(RegistryHandle parent, std::u16string_view path,
                                       RegistryHandle* key) {
  std::vector<std::u16string_view> parts;
  if (key == nullptr || parent == kNoRegistryKey || !splitPath(path, &parts)) {
    return RegistryStatus::kInvalid;
  }
  return resolve(db_, parent, parts, key);
}

RegistryStatus SqliteRegistry::closeKey(RegistryHandle key) {
  return key == kNoRegistryKey ? RegistryStatus::kInvalid : RegistryStatus::kOk;
}

RegistryStatus SqliteRegistry::queryValue(RegistryHandle key, std::u16string_view name,
                                          RegistryType* type, uint8_t* data, uint32_t* size) {
  if (key == kNoRegistryKey || size == nullptr || !validValueName(name)) {
    return RegistryStatus::kInvalid;
  }
  if (readValue_ == nullptr &&
      sqlite3_prepare_v3(db_, "SELECT type, data FROM reg_values WHERE key = ?1 AND name = ?2", -1,
                         SQLITE_PREPARE_PERSISTENT, &readValue_, nullptr) != SQLITE_OK) {
    return RegistryStatus::kFailed;  // a failed prepare leaves the statement null
  }
  sqlite3_stmt* s = readValue_;
  // Ready for the next read however this one ends: the bound name is the caller's.
  struct Reset {
    sqlite3_stmt* s;
    ~Reset() {
      sqlite3_reset(s);
      sqlite3_clear_bindings(s);
    }
  } reset{s};
  sqlite3_bind_int64(s, 1, key);
  static const char16_t kEmpty[] = u"";
  sqlite3_bind_text16(s, 2, name.empty() ? kEmpty : name.data(), static_cast<int>(name.size() * 2),
                      SQLITE_STATIC);
  const int rc = sqlite3_step(s);
  if (rc == SQLITE_DONE) return RegistryStatus::kNotFound;
  if (rc != SQLITE_ROW) return RegistryStatus::kFailed;
  const auto storedType = static_cast<RegistryType>(sqlite3_column_int64(s, 0));
  const void* blob = sqlite3_column_blob(s, 1);
  const auto length = static_cast<uint32_t>(sqlite3_column_bytes(s, 1));
  if (type != nullptr) *type = storedType;
  const uint32_t capacity = *size;
  *size = length;
  if (data == nullptr) return RegistryStatus::kOk;
  if (capacity < length) return RegistryStatus::kMoreData;
  if (length > 0 && blob != nullptr) std::memcpy(data, blob, length);
  return RegistryStatus::kOk;
}

RegistryStatus SqliteRegistry::setValue(RegistryHandle key, std::u16string_view name,
                                        RegistryType type, const uint8_t* data, uint32_t size) {
  if (key == kNoRegistryKey || !validValueName(name) || (data == nullptr && size != 0)) {
    return RegistryStatus::kInvalid;
  }
  return writeTransaction(db_, [&]() {
    Statement s(db_,
                "INSERT OR REPLACE INTO reg_values(key, name, type, data) "
                "VALUES(?1, ?2, ?3, ?4)");
    s.bind(1, key);
    s.bind(2, name);
    s.bind(3, static_cast<int64_t>(type));
    s.bindBlob(4, data, size);
    const int rc = s.step();
    return rc == SQLITE_DONE ? RegistryStatus::kOk : stepStatus(rc);
  });
}

RegistryStatus SqliteRegistry::deleteValue(RegistryHandle key, std::u16string_view name) {
  if (key == kNoRegistryKey || !validValueName(name)) return RegistryStatus::kInvalid;
  return writeTransaction(db_, [&]() {
    Statement s(db_, "DELETE FROM reg_values WHERE key = ?1 AND name = ?2");
    s.bind(1, key);
    s.bind(2, name);
    if (s.step() != SQLITE_DONE) return RegistryStatus::kFailed;
    return sqlite3_changes(db_) > 0 ? RegistryStatus::kOk : RegistryStatus::kNotFound;
  });
}

// The name in row `index` of a one-column name query ordered by name.
RegistryStatus SqliteRegistry::enumName(const char* sql, RegistryHandle key, uint32_t index,
                                        std::u16string* name) {
  if (key == kNoRegistryKey || name == nullptr) return RegistryStatus::kInvalid;
  Statement s(db_, sql);
  s.bind(1, key);
  s.bind(2, static_cast<int64_t>(index));
  const int rc = s.step();
  if (rc == SQLITE_DONE) return RegistryStatus::kNotFound;
  if (rc != SQLITE_ROW) return RegistryStatus::kFailed;
  *name = s.text16(0);
  return RegistryStatus::kOk;
}

RegistryStatus SqliteRegistry::enumKey(RegistryHandle key, uint32_t index, std::u16string* name) {
  return enumName("SELECT name FROM reg_keys WHERE parent = ?1 ORDER BY name LIMIT 1 OFFSET ?2",
                  key, index, name);
}

RegistryStatus SqliteRegistry::enumValue(RegistryHandle key, uint32_t index, std::u16string* name) {
  return enumName("SELECT name FROM reg_values WHERE key = ?1 ORDER BY name LIMIT 1 OFFSET ?2", key,
                  index, name);
}

RegistryStatus SqliteRegistry::deleteKey(RegistryHandle parent, std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  if (parent == kNoRegistryKey || path.empty() || !splitPath(path, &parts)) {
    return RegistryStatus::kInvalid;
  }
  return writeTransaction(db_, [&]() {
    int64_t key = 0;
    const RegistryStatus found = resolve(db_, parent, parts, &key);
    if (found != RegistryStatus::kOk) return found;
    Statement children(db_, "SELECT 1 FROM reg_keys WHERE parent = ?1 LIMIT 1");
    children.bind(1, key);
    const int rc = children.step();
    if (rc == SQLITE_ROW) return RegistryStatus::kHasSubkeys;
    if (rc != SQLITE_DONE) return RegistryStatus::kFailed;
    Statement s(db_, "DELETE FROM reg_keys WHERE id = ?1");
    s.bind(1, key);
    return s.step() == SQLITE_DONE ? RegistryStatus::kOk : RegistryStatus::kFailed;
  });
}

}  // namespace lexora
