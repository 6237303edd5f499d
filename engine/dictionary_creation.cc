// Creating a dictionary: the three files of an empty one, written in one transaction that
// replaces any files of the same names.

#include <limits.h>
#include <zlib.h>

#include <cstring>

#include "engine/dictionary.h"
#include "engine/dictionary_files.h"

namespace lexora {
namespace {

// Room for zlib's stream of no bytes.
constexpr uLong kEmptyStreamCapacity = 24;

}  // namespace

Status Dictionary::createDictionary(const std::string& dataFileName, uint32_t collation) {
  const Hold hold(mutex_);
  closeDictionary();
  const FileSetNames names = fileSetNames(dataFileName);
  for (const std::string* name : {&names.dataFile, &names.wordFile, &names.indexFile}) {
    if (name->size() + 1 > PATH_MAX) {
      return Status::invalidArgument("cannot create " + *name +
                                     ": the name is longer than the path limit");
    }
  }
  // Existing files of those names are replaced in one transaction, so a failure (or a crash)
  // leaves them as they were.
  if (Status s = files_->openForReplace(names); !s.isOk()) return s;
  files_->begin();
  Status s = createSteps(collation);
  if (s.isOk()) {
    s = files_->commit();
  } else {
    files_->abandon();
  }
  files_->close();
  if (!s.isOk()) return s;
  return openDictionary(dataFileName);
}

Status Dictionary::createSteps(uint32_t collation) {
  header_ = DictionaryHeader{};
  std::memcpy(header_.signature.data(), "QUILLDAT", 8);
  header_.marker = 256;
  header_.collation = collation;

  for (DictionaryFile file : {DictionaryFile::Index, DictionaryFile::Word, DictionaryFile::Data}) {
    if (Status s = files_->truncate(file, 0); !s.isOk()) return s;
  }
  uint8_t stream[kEmptyStreamCapacity];
  uLongf streamLength = kEmptyStreamCapacity;
  const uint8_t nothing = 0;
  if (compress2(stream, &streamLength, &nothing, 0, COMPRESSION_LEVEL) != Z_OK) {
    return Status::ioError("cannot compress an empty block");
  }
  if (Status s = files_->write(DictionaryFile::Data, 0, stream, streamLength); !s.isOk()) {
    return s;
  }
  uint8_t headerBytes[HEADER_SIZE];
  header_.encodeTo(headerBytes);
  if (Status s = files_->write(DictionaryFile::Index, 0, headerBytes, HEADER_SIZE); !s.isOk()) {
    return s;
  }
  uint8_t recordBytes[BLOCK_RECORD_SIZE];
  BlockRecord{0, static_cast<uint16_t>(streamLength)}.encodeTo(recordBytes);
  return files_->write(DictionaryFile::Index, BLOCK_TABLE_OFFSET, recordBytes, BLOCK_RECORD_SIZE);
}

}  // namespace lexora
