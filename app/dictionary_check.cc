#include "app/dictionary_check.h"

#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <fstream>

#include "engine/file_format.h"

namespace lexora {
namespace {

bool isRegularFile(const std::string& path, off_t* size) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (size) *size = st.st_size;
  return true;
}

}  // namespace

DictionaryFileProblem checkDictionaryFile(const std::string& dataFile) {
  const FileSetNames names = fileSetNames(dataFile);
  off_t indexSize = 0;
  if (!isRegularFile(names.dataFile, nullptr) || !isRegularFile(names.wordFile, nullptr) ||
      !isRegularFile(names.indexFile, &indexSize)) {
    return DictionaryFileProblem::kMissing;
  }
  if (names.dataFile == names.wordFile || names.dataFile == names.indexFile ||
      indexSize < static_cast<off_t>(WORD_TABLE_OFFSET)) {
    return DictionaryFileProblem::kNotADictionary;
  }
  std::array<uint8_t, HEADER_SIZE> bytes{};
  std::ifstream in(names.indexFile, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) {
    return DictionaryFileProblem::kNotADictionary;
  }
  const DictionaryHeader header = DictionaryHeader::decodeFrom(bytes.data());
  const uint64_t tableEnd =
      WORD_TABLE_OFFSET + static_cast<uint64_t>(header.wordCount) * WORD_RECORD_SIZE;
  if (tableEnd > static_cast<uint64_t>(indexSize)) {
    return DictionaryFileProblem::kNotADictionary;
  }
  return DictionaryFileProblem::kNone;
}

std::u16string dictionaryProblemText(DictionaryFileProblem problem) {
  switch (problem) {
    case DictionaryFileProblem::kMissing:
      return u"Missing: the file or its .pdw/.pdi companion is not there.";
    case DictionaryFileProblem::kNotADictionary:
      return u"Not a dictionary: Lexora cannot open this file.";
    case DictionaryFileProblem::kNone:
      break;
  }
  return u"";
}

}  // namespace lexora
