#include "lexicon/derived_indexes.h"

#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "engine/full_text_index.h"
#include "lexicon/file_stamp.h"
#include "lexicon/suggestion_index.h"

namespace lexora {

Status buildSuggestionFile(Dictionary& dictionary) {
  const std::optional<FileStamp> stamp = dictionaryFileStamp(dictionary.dataFileName());
  if (!stamp) return Status::notFound(dictionary.dataFileName() + ": cannot examine its files");
  std::unique_ptr<SuggestionIndex> index;
  if (Status s = SuggestionIndex::build(dictionary, index); !s.isOk()) return s;
  index->setStamp(*stamp);
  const std::string file = fileSetNames(dictionary.dataFileName()).suggestionFile;
  if (!index->save(file)) return Status::ioError(file + ": cannot write the suggestion index");
  return Status::ok();
}

Status buildDerivedIndexes(const std::string& dataFile,
                           const std::function<bool(uint32_t done, uint32_t total)>& progress) {
  Dictionary dictionary;
  if (Status s = dictionary.openDictionary(dataFile); !s.isOk()) return s;
  if (Status s = buildSuggestionFile(dictionary); !s.isOk()) return s;
  return buildFullTextIndex(dictionary, progress);
}

}  // namespace lexora
