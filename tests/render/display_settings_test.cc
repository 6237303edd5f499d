#include "render/display_settings.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

TEST(DisplayStyle, EncodesLittleEndianInFieldOrder) {
  const DisplayStyle s{1, 2, 0x01020304, 0x00FF00FF};
  const auto bytes = s.encode();
  const std::array<uint8_t, 16> expected = {1, 0, 0, 0, 2, 0, 0, 0, 4, 3, 2, 1, 0xFF, 0, 0xFF, 0};
  EXPECT_EQ(bytes, expected);
  DisplayStyle back;
  back.decode(bytes.data(), bytes.size());
  EXPECT_EQ(back, s);
}

TEST(DisplayStyle, ShortValueOverwritesOnlyLeadingBytes) {
  DisplayStyle s = kDefaultStyles[kWordClassStyle];  // 0, 1, 1, 0xFF
  const uint8_t six[] = {1, 0, 0, 0, 0, 0};
  s.decode(six, sizeof six);
  EXPECT_EQ(s, (DisplayStyle{1, 0, 1, 0x000000FF}));
  s.decode(nullptr, 0);
  EXPECT_EQ(s, (DisplayStyle{1, 0, 1, 0x000000FF}));
  const uint8_t longer[20] = {0};
  s.decode(longer, sizeof longer);  // only 16 bytes are taken
  EXPECT_EQ(s, DisplayStyle{});
}

TEST(BackColor, FourByteLayout) {
  EXPECT_EQ(encodeBackColor(0x00112233), (std::array<uint8_t, 4>{0x33, 0x22, 0x11, 0}));
  uint32_t colour = 0x00FFFFFF;
  const uint8_t two[] = {0x00, 0x80};
  decodeBackColor(two, 2, colour);
  EXPECT_EQ(colour, 0x00FF8000u);
}

TEST(DisplaySettings, DefaultsAndNames) {
  const DisplaySettings d;
  EXPECT_EQ(d.style(kWordStyle), (DisplayStyle{0, 1, 0, 0}));
  EXPECT_EQ(d.style(kPronunciationStyle), (DisplayStyle{0, 0, 0, 0x00FF00FF}));
  EXPECT_EQ(d.style(kWordClassStyle), (DisplayStyle{0, 1, 1, 0x000000FF}));
  EXPECT_EQ(d.backColor, 0x00FFFFFFu);
  EXPECT_EQ(d.useTexture, 0u);
  EXPECT_EQ(d.textSize, 2u);
  EXPECT_EQ(d.useClearType, 1u);
  EXPECT_EQ(d.time2Show, 1u);
}

TEST(Time2Show, ClampedSigned) {
  EXPECT_EQ(clampTime2Show(0), 1u);
  EXPECT_EQ(clampTime2Show(30), 20u);
  EXPECT_EQ(clampTime2Show(21), 20u);
  EXPECT_EQ(clampTime2Show(0xFFFFFFFF), 1u);
  EXPECT_EQ(clampTime2Show(7), 7u);
}

}  // namespace
}  // namespace lexora
