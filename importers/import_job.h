#pragma once
// One import from start to end: a source reader's entries are collected, then written by the
// dictionary builder. Everything is built under temporary names beside the target and renamed
// into place only when every file has been written, so a failed or cancelled import leaves no
// half-written dictionary behind and an older dictionary of the same name whole.
//
// A dictionary holds at most BLOCK_SLOTS blocks of meaning text (about 66 MB). A larger source
// is refused with a message naming the limit, or, with `split`, written as numbered volumes
// NAME-1.pvm, NAME-2.pvm, ... that each hold a range of headwords.
//
// The pictures and sounds that entries name (DSL and MDict sources) are copied into the
// dictionary's resource folder (fileSetNames(dataFile).resourceFolder), also built under a
// temporary name.

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "importers/entry_sink.h"
#include "util/status.h"

namespace lexora::importers {

enum class SourceKind { Tsv, Dictd, Stardict, Dsl, Mdict };

// StarDict for NAME.ifo, DSL for NAME.dsl or NAME.dsl.dz, MDict for NAME.mdx, dictd for NAME.index
// (or its NAME.dict.dz / NAME.dict), TSV for a file whose first line holds a TAB; nullopt
// otherwise.
std::optional<SourceKind> detectSourceKind(const std::string& path);
const char* sourceKindName(SourceKind kind);

// The whole import as one bar, in thousandths: reading the source, converting its entries,
// writing each volume, moving the files into place, building their indexes. False cancels.
using RunProgressFunction = std::function<bool(uint32_t permille)>;

struct ImportOptions {
  uint32_t collation = 1;               // Latin1 unless asked otherwise
  std::optional<std::u16string> title;  // else the source's own, else the file's name
  std::optional<std::u16string> description;
  bool split = false;
  // An existing dictionary under the target name is replaced; without it, it is refused. Any
  // other file there (not a dictionary, or not a regular file) is always refused.
  bool replaceDictionary = false;
  // The most meaning text per dictionary; 0 for the format's limit. Smaller values let tests
  // and callers try volumes without 66 MB of text.
  uint64_t meaningLimit = 0;
  // Called as the whole run advances (null: not called), besides the reading progress below.
  RunProgressFunction runProgress;
};

inline constexpr size_t kReportLimit = 20;

enum class ImportResult { Done, Failed, Cancelled };

struct ImportOutcome {
  ImportResult result = ImportResult::Failed;
  Status status;  // why it failed, when Failed: "FILE: REASON"
  uint64_t imported = 0;
  uint64_t skipped = 0;                // entries and source lines left out
  std::vector<std::string> reports;    // the first kReportLimit skip reports
  std::vector<std::string> dataFiles;  // what was written, one per volume
  uint64_t resources = 0;              // pictures and sounds kept in the resource folder
  SourceInfo info;
};

// done of total source entries; total is 0 when unknown. False cancels the import.
using ProgressFunction = std::function<bool(uint64_t done, uint64_t total)>;

// source "-" with kind Tsv reads `stdinStream`.
ImportOutcome importSource(SourceKind kind, const std::string& source, std::istream* stdinStream,
                           const std::string& dataFile, const ImportOptions& options,
                           const ProgressFunction& progress = {});

// The data file of volume `volume` (from 1): "dir/en.pvm" gives "dir/en-2.pvm".
std::string volumeFileName(const std::string& dataFile, unsigned volume);

}  // namespace lexora::importers
