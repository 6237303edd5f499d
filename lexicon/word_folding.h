#pragma once
// Folds a text unit by unit the way a dictionary's word order folds it before comparing:
// two texts that the order holds equal fold to the same units, and every unit folds to
// exactly one unit, so positions in the folded text are positions in the original.
//
// Latin1: case folded, and every unit of 0..255 replaced by its weight class (units from 256
// up stay as they are). Cyrillic: the Russian capitals lowered. Vietnamese: case folded.
// Any other order: nothing folded.

#include <cstdint>
#include <string>
#include <string_view>

namespace lexora {

class WordFolding {
 public:
  explicit WordFolding(uint32_t collation);

  char16_t fold(char16_t unit) const;
  std::u16string fold(std::u16string_view text) const;
  // Folds text into out (cleared first), reusing out's capacity.
  void foldInto(std::u16string_view text, std::u16string& out) const;

  uint32_t collation() const { return collation_; }

 private:
  uint32_t collation_;
};

}  // namespace lexora
