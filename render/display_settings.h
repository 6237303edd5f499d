#pragma once
// The display settings that decide how every rendered entry looks: one style record per element
// of the entry markup, the page background, the viewers' text size and ClearType switch, and the
// time a popup bubble stays on screen. Also the byte layouts in which the style records and the
// background colour are kept in the settings store.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lexora {

// The seven styled elements, in the order of the style table, of the stored values
// ("Style1" is kWordStyle) and of the style dialog's list (after its prompt row).
enum StyleElement : int {
  kWordStyle = 0,           // headword segments of "@" lines (hidden is not honoured)
  kPronunciationStyle = 1,  // pronunciation segments of "@" lines (hidden is not honoured)
  kWordClassStyle = 2,      // "*" lines
  kMeaningStyle = 3,        // "-" lines
  kExampleStyle = 4,        // "=$" lines
  kIdiomStyle = 5,          // "!$" lines
  kSynonymStyle = 6,        // "#" lines
};
constexpr int kStyleCount = 7;

// The style dialog's labels, indexed by StyleElement.
inline constexpr std::array<const char*, kStyleCount> kStyleLabels = {
    "Word", "/Pronunciation/", "Word-Class", "Meaning", "Example", "Idiom", "Synonym-Antonym"};

// How one element is drawn. Every flag counts as set when non-zero.
struct DisplayStyle {
  uint32_t hidden = 0;
  uint32_t bold = 0;
  uint32_t italic = 0;
  uint32_t colour = 0;  // Windows colour value 0x00BBGGRR; only the low 24 bits are used

  // Stored layout: 16 bytes, the four fields as little-endian 32-bit values in field order.
  static constexpr std::size_t kEncodedSize = 16;
  std::array<uint8_t, kEncodedSize> encode() const;
  // Overwrites the record's leading `size` bytes (at most 16) with `data`, the rest stays:
  // a shorter stored value changes only the fields, or parts of a field, that it holds.
  // REQUIRES: data is readable for size bytes (or size is 0).
  void decode(const uint8_t* data, std::size_t size);

  bool operator==(const DisplayStyle&) const = default;
};

// The compiled-in style table.
inline constexpr std::array<DisplayStyle, kStyleCount> kDefaultStyles = {{
    {0, 1, 0, 0x00000000},  // Word: bold black
    {0, 0, 0, 0x00FF00FF},  // /Pronunciation/: magenta
    {0, 1, 1, 0x000000FF},  // Word-Class: bold italic red
    {0, 0, 0, 0x00000000},  // Meaning
    {0, 0, 0, 0x00000000},  // Example
    {0, 0, 0, 0x00000000},  // Idiom
    {0, 0, 0, 0x00000000},  // Synonym-Antonym
}};

constexpr uint32_t kDefaultBackColor = 0x00FFFFFF;  // white
constexpr uint32_t kDefaultTextSize = 2;            // medium
constexpr uint32_t kDefaultUseClearType = 1;
constexpr uint32_t kDefaultTime2Show = 1;
constexpr int32_t kMinTime2Show = 1;
constexpr int32_t kMaxTime2Show = 20;

// Text sizes (zoom levels of the HTML viewers).
constexpr uint32_t kTextSizeSmallest = 0;
constexpr uint32_t kTextSizeLargest = 4;

// The background colour's stored layout: 4 bytes, little-endian.
constexpr std::size_t kBackColorEncodedSize = 4;
std::array<uint8_t, kBackColorEncodedSize> encodeBackColor(uint32_t colour);
// Overwrites the leading `size` bytes (at most 4) of `colour` with `data`; the rest stays.
// REQUIRES: data is readable for size bytes (or size is 0).
void decodeBackColor(const uint8_t* data, std::size_t size, uint32_t& colour);

// The popup time kept within 1 to 20 seconds; the stored DWORD is compared as signed, so
// 0xFFFFFFFF becomes 1.
uint32_t clampTime2Show(uint32_t stored);

// The whole process-wide table of display settings, with its compiled-in defaults.
struct DisplaySettings {
  std::array<DisplayStyle, kStyleCount> styles = kDefaultStyles;
  uint32_t backColor = kDefaultBackColor;  // 0x00BBGGRR
  uint32_t useTexture = 0;                 // 1 = background picture texturePath; other = backColor
  std::u16string texturePath;              // full path of the background picture
  uint32_t textSize = kDefaultTextSize;    // 0 smallest ... 4 largest
  uint32_t useClearType = kDefaultUseClearType;  // 1 = ClearType on
  uint32_t time2Show = kDefaultTime2Show;        // seconds, 1 to 20

  const DisplayStyle& style(StyleElement e) const { return styles[static_cast<std::size_t>(e)]; }
  DisplayStyle& style(StyleElement e) { return styles[static_cast<std::size_t>(e)]; }

  bool operator==(const DisplaySettings&) const = default;
};

}  // namespace lexora
