#include "engine/full_text_index.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "engine/meaning_sweep.h"
#include "util/standard_utf8.h"

namespace lexora {
namespace {

// Bumped whenever the table's layout or its tokenizer changes: an index of another version is
// simply rebuilt.
constexpr const char* kVersion = "2";

constexpr const char* kSchema =
    "CREATE TABLE about(name TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE VIRTUAL TABLE meanings USING fts5(meaning, content='', columnsize=0, detail=none,"
    " tokenize='unicode61 remove_diacritics 2');";

// Statements live only as long as the call that runs them.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) statement_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return statement_; }
  explicit operator bool() const { return statement_ != nullptr; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

// A character the tokenizer keeps in its words: ASCII letters and digits, and beyond ASCII
// everything but the common punctuation and spaces. A word the tokenizer splits further
// becomes a phrase, which the query then refuses (and the caller reads every meaning).
bool isWordCharacter(char16_t c) {
  if (c < 0x80) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
  }
  const bool punctuation = (c >= 0xA0 && c <= 0xBF) || c == 0xD7 || c == 0xF7 ||
                           (c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x303F) ||
                           (c >= 0xFF00 && c <= 0xFF0F);
  return !punctuation;
}

// Every word of the text, each as a quoted FTS5 string, joined with AND; the last one may be
// the beginning of a longer word. The index keeps no word positions (detail=none), so the
// order of the words is left to the caller's match of the whole text. Empty when the text
// holds no word.
std::string wordsQuery(std::u16string_view text) {
  std::string query;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && !isWordCharacter(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && isWordCharacter(text[i])) ++i;
    if (i == start) break;
    if (!query.empty()) query += " AND ";
    query += '"' + toUtf8(text.substr(start, i - start)) + '"';
  }
  if (!query.empty()) query += " *";
  return query;
}

Status openDatabase(const std::string& file, int flags, sqlite3*& db) {
  db = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, 2000);
    return Status::ok();
  }
  const std::string why = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  sqlite3_close(db);
  db = nullptr;
  if (rc == SQLITE_CANTOPEN) return Status::notFound(file + ": cannot open: " + why);
  return Status::ioError(file + ": " + why);
}

}  // namespace

FullTextIndex::~FullTextIndex() {
  sqlite3_finalize(insert_);
  sqlite3_finalize(delete_);
  sqlite3_close(db_);
}

Status FullTextIndex::open(const std::string& file, std::unique_ptr<FullTextIndex>& index) {
  index.reset();
  sqlite3* db = nullptr;
  if (::access(file.c_str(), F_OK) != 0) return Status::notFound(file + ": no full-text index");
  if (Status s = openDatabase(file, SQLITE_OPEN_READWRITE, db); !s.isOk()) return s;
  std::unique_ptr<FullTextIndex> opened(new FullTextIndex(db, file));
  Statement about(db, "SELECT name, value FROM about");
  if (!about) return opened->failure("not a full-text index");
  std::string version;
  while (sqlite3_step(about.get()) == SQLITE_ROW) {
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(about.get(), 0));
    const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(about.get(), 1));
    if (name == nullptr || value == nullptr) continue;
    if (std::string_view(name) == "version") version = value;
    if (std::string_view(name) == "stamp") opened->stamp_ = value;
  }
  if (version != kVersion) {
    return Status::corruption(file + ": a full-text index of another version (" + version + ")");
  }
  index = std::move(opened);
  return Status::ok();
}

Status FullTextIndex::createForBuild(const std::string& file,
                                     std::unique_ptr<FullTextIndex>& index) {
  index.reset();
  std::remove(file.c_str());
  sqlite3* db = nullptr;
  if (Status s = openDatabase(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db); !s.isOk())
    return s;
  std::unique_ptr<FullTextIndex> created(new FullTextIndex(db, file));
  // Nothing reads the file before it is renamed into place, so it needs no journal.
  Status s = created->exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
  if (s.isOk()) s = created->exec(kSchema);
  if (s.isOk()) {
    s = created->exec(
        (std::string("INSERT INTO about VALUES('version', '") + kVersion + "'), ('stamp', '')")
            .c_str());
  }
  // A build merges everything once at its end (optimize): merging the segments on the way as
  // well cost a fifth of the build.
  if (s.isOk()) {
    s = created->exec(
        "INSERT INTO meanings(meanings, rank) VALUES('automerge', 0);"
        "INSERT INTO meanings(meanings, rank) VALUES('crisismerge', 64);");
  }
  if (!s.isOk()) return s;
  index = std::move(created);
  return Status::ok();
}

Status FullTextIndex::exec(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return Status::ok();
  return failure(sqlite3_errmsg(db_));
}

Status FullTextIndex::failure(const std::string& what) const {
  return Status::ioError(file_ + ": " + what);
}

Status FullTextIndex::begin() { return exec("BEGIN IMMEDIATE"); }

Status FullTextIndex::change(uint32_t key, std::u16string_view meaning, bool removal) {
  sqlite3_stmt*& statement = removal ? delete_ : insert_;
  if (statement == nullptr &&
      sqlite3_prepare_v2(db_,
                         removal ? "INSERT INTO meanings(meanings, rowid, meaning) "
                                   "VALUES('delete', ?1, ?2)"
                                 : "INSERT INTO meanings(rowid, meaning) VALUES(?1, ?2)",
                         -1, &statement, nullptr) != SQLITE_OK) {
    return failure(sqlite3_errmsg(db_));  // a failed prepare leaves the statement null
  }
  utf8_.clear();
  appendUtf8(utf8_, meaning);
  sqlite3_bind_int64(statement, 1, key);
  sqlite3_bind_text(statement, 2, utf8_.data(), static_cast<int>(utf8_.size()), SQLITE_STATIC);
  const int rc = sqlite3_step(statement);
  Status outcome = rc == SQLITE_DONE ? Status::ok() : failure(sqlite3_errmsg(db_));
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  return outcome;
}

Status FullTextIndex::add(uint32_t key, std::u16string_view meaning) {
  return change(key, meaning, false);
}

Status FullTextIndex::remove(uint32_t key, std::u16string_view meaning) {
  return change(key, meaning, true);
}

Status FullTextIndex::commit(const std::string& stamp) {
  Statement update(db_, "UPDATE about SET value = ?1 WHERE name = 'stamp'");
  if (!update) return failure(sqlite3_errmsg(db_));
  sqlite3_bind_text(update.get(), 1, stamp.data(), static_cast<int>(stamp.size()),
                    SQLITE_TRANSIENT);
  if (sqlite3_step(update.get()) != SQLITE_DONE) return failure(sqlite3_errmsg(db_));
  if (Status s = exec("COMMIT"); !s.isOk()) return s;
  stamp_ = stamp;
  return Status::ok();
}

void FullTextIndex::rollback() {
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

Status FullTextIndex::optimize() {
  if (Status s = exec("INSERT INTO meanings(meanings) VALUES('optimize')"); !s.isOk()) return s;
  // Later changes (each edit's) merge as they go again: FTS5's defaults.
  if (Status s = exec("INSERT INTO meanings(meanings, rank) VALUES('automerge', 4);"
                      "INSERT INTO meanings(meanings, rank) VALUES('crisismerge', 16);");
      !s.isOk()) {
    return s;
  }
  return exec("VACUUM");  // the merged segments leave free pages behind
}

Status FullTextIndex::find(std::u16string_view text, std::vector<uint32_t>& keys) {
  keys.clear();
  const std::string query = wordsQuery(text);
  if (query.empty()) return Status::invalidArgument("the text holds no word");
  Statement select(db_, "SELECT rowid FROM meanings WHERE meanings MATCH ?1");
  if (!select) return failure(sqlite3_errmsg(db_));
  sqlite3_bind_text(select.get(), 1, query.data(), static_cast<int>(query.size()), SQLITE_STATIC);
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
    const sqlite3_int64 key = sqlite3_column_int64(select.get(), 0);
    if (key >= 0 && key <= UINT32_MAX) keys.push_back(static_cast<uint32_t>(key));
  }
  if (rc != SQLITE_DONE) {
    // A word that the tokenizer splits further makes a phrase, which this index cannot answer.
    keys.clear();
    return Status::invalidArgument(query + ": " + sqlite3_errmsg(db_));
  }
  return Status::ok();
}

namespace {

// The entries in the order their meanings lie in the data file, so that each block is
// inflated once; entries that share a key (only a damaged table has them) after the first
// are left out.
std::vector<uint32_t> buildOrder(const std::vector<WordRecord>& records) {
  std::vector<uint32_t> byKey(records.size());
  for (uint32_t i = 0; i < byKey.size(); ++i) byKey[i] = i;
  std::stable_sort(byKey.begin(), byKey.end(), [&](uint32_t a, uint32_t b) {
    return records[a].wordOffset < records[b].wordOffset;
  });
  std::vector<uint32_t> order;
  order.reserve(records.size());
  for (size_t i = 0; i < byKey.size(); ++i) {
    if (i == 0 || records[byKey[i]].wordOffset != records[byKey[i - 1]].wordOffset) {
      order.push_back(byKey[i]);
    }
  }
  const auto place = [&](uint32_t i) {
    return (uint32_t{records[i].block} << 16) | records[i].offset;
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return place(a) < place(b); });
  return order;
}

Status indexEntries(Dictionary& dictionary, uint64_t state, const std::vector<WordRecord>& records,
                    FullTextIndex& index,
                    const std::function<bool(uint32_t done, uint32_t total)>& progress) {
  const std::vector<uint32_t> order = buildOrder(records);
  const uint32_t total = static_cast<uint32_t>(records.size());
  MeaningSweep sweep(dictionary, state);
  std::u16string meaning;
  for (uint32_t done = 0; done < order.size(); ++done) {
    if (progress && done % 2048 == 0 && !progress(done, total)) {
      return Status::busy(dictionary.dataFileName() + ": the full-text index was cancelled");
    }
    const uint32_t position = order[done];
    Status read = sweep.read(position, records[position], meaning);
    if (read.code() == Status::Code::IoError || read.code() == Status::Code::Busy) return read;
    if (read.code() == Status::Code::Corruption) continue;  // unreadable text: no words
    if (!read.isOk()) meaning.clear();
    if (Status s = index.add(records[position].wordOffset, meaning); !s.isOk()) return s;
  }
  if (progress) progress(total, total);
  return Status::ok();
}

}  // namespace

Status buildFullTextIndex(Dictionary& dictionary,
                          const std::function<bool(uint32_t done, uint32_t total)>& progress) {
  // One state of the dictionary, read in pieces (the window keeps looking words up meanwhile).
  const uint64_t state = dictionary.state();
  std::string stamp;
  if (Status s = dictionary.contentStamp(stamp, state); !s.isOk()) return s;
  std::vector<WordRecord> records;
  if (Status s = dictionary.readWordRecords(records, state); !s.isOk()) return s;
  const std::string building = fileSetNames(dictionary.dataFileName()).fullTextFile + ".building-" +
                               std::to_string(::getpid());
  std::unique_ptr<FullTextIndex> index;
  Status s = FullTextIndex::createForBuild(building, index);
  if (s.isOk()) s = index->begin();
  if (s.isOk()) s = indexEntries(dictionary, state, records, *index, progress);
  if (s.isOk()) s = index->commit(stamp);
  if (s.isOk()) s = index->optimize();
  index.reset();
  if (!s.isOk()) {
    std::remove(building.c_str());
    return s;
  }
  return dictionary.adoptFullTextIndex(building, state);
}

}  // namespace lexora
