#pragma once
// The reading of one source entry on its way to the entry markup: the pronunciation, and the
// paragraphs of text with their link words and what each paragraph is (a list item, an
// example, a word-class label). The HTML, XDXF and plain-text converters fill it; markupOf
// decides the line kinds and writes the markup:
//
//   - the first paragraph, when it repeats the headword, is the headline: a "[...]" or "/.../"
//     after the word is the pronunciation, a short rest the word class;
//   - a paragraph that is only a word-class label becomes a "*" line;
//   - a list item or a paragraph that starts with a sense number ("1.", "2)", "IV.") becomes a
//     meaning line without its number; when no paragraph is numbered, every paragraph is a
//     meaning; otherwise the unnumbered ones are plain lines;
//   - an example becomes an "=$" line, its translation after " — " (or " - ", " – ") going
//     behind the "+".

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lexora::importers {

struct OutlinePiece {
  std::string text;  // standard UTF-8, no line ends
  bool link = false;
  bool label = false;  // came from a word-class element
};

struct OutlineParagraph {
  std::vector<OutlinePiece> pieces;
  std::string line;  // a line shown as it is (a picture or a sound), instead of pieces
  bool listItem = false;
  bool example = false;
};

class SourceOutline {
 public:
  // Adds running text; blanks (line ends included) collapse into one space.
  void text(std::string_view text, bool link = false, bool label = false);
  // Ends the current paragraph (an empty one is dropped).
  void endParagraph();
  // Marks the current paragraph.
  void markListItem() { current_.listItem = true; }
  void markExample() { current_.example = true; }
  void setPronunciation(std::string_view text);
  // Pictures and sounds: `resolve` gives the entry line that shows a named file, or nothing
  // (without it they are left out).
  void setMediaResolver(std::function<std::string(std::string_view name)> resolve) {
    resolveMedia_ = std::move(resolve);
  }
  // A line of text laid out by hand (<pre>): a plain line of its own that keeps its blanks.
  void preformattedLine(std::string_view text);
  // A picture or sound named by the source: a paragraph of its own. False when it is left out.
  bool media(std::string_view name);
  bool hasPronunciation() const { return !pronunciation_.empty(); }
  // A picture, sound or other file that the entry names and the markup cannot hold.
  void skipResource() { ++resourcesSkipped_; }
  uint64_t resourcesSkipped() const { return resourcesSkipped_; }

  // The entry markup, starting with the headword line "@headword|pronunciation|".
  std::string markupOf(std::string_view headword);

 private:
  void takeHeadline(std::string_view headword, std::vector<std::string>& classes);
  void takePronunciationParagraph();
  static void writeParagraph(std::string& out, OutlineParagraph& p, bool numbered);

  std::string pronunciation_;
  std::function<std::string(std::string_view)> resolveMedia_;
  std::vector<OutlineParagraph> paragraphs_;
  OutlineParagraph current_;
  bool pendingSpace_ = false;
  uint64_t resourcesSkipped_ = 0;
};

// True for the common labels of word classes: "n.", "noun", "v. t.", "adj", ...
bool looksLikeWordClass(std::string_view text);

}  // namespace lexora::importers
