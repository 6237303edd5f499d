#include "engine/edit_result.h"

namespace lexora {

const char* editResultName(EditResult result) {
  switch (result) {
    case EditResult::Ok:
      return "Ok";
    case EditResult::WordExists:
      return "WordExists";
    case EditResult::WordWriteFailed:
      return "WordWriteFailed";
    case EditResult::DataWriteFailed:
      return "DataWriteFailed";
    case EditResult::IndexWriteFailed:
      return "IndexWriteFailed";
    case EditResult::HeaderWriteFailed:
      return "HeaderWriteFailed";
    case EditResult::WordTooLong:
      return "WordTooLong";
    case EditResult::MeaningTooLong:
      return "MeaningTooLong";
    case EditResult::RecordReadFailed:
      return "RecordReadFailed";
    case EditResult::EmptyWord:
      return "EmptyWord";
    case EditResult::ReadOnly:
      return "ReadOnly";
    case EditResult::NoSuchEntry:
      return "NoSuchEntry";
    case EditResult::DictionaryFull:
      return "DictionaryFull";
    case EditResult::SearchFailed:
      return "SearchFailed";
  }
  return "Unknown";
}

}  // namespace lexora
