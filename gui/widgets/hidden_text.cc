#include "gui/widgets/hidden_text.h"

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace lexora {
namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;

double luminance(const QColor& c) {
  auto linear = [](double v) {
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

// The luminance contrast of two opaque colours: 1 for equal ones, 21 for black and white.
double contrast(const QColor& a, const QColor& b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// `top` drawn over the opaque `below` with its own opacity.
QColor over(const QColor& top, const QColor& below) {
  const double a = top.alphaF();
  return QColor::fromRgbF(static_cast<float>(top.redF() * a + below.redF() * (1 - a)),
                          static_cast<float>(top.greenF() * a + below.greenF() * (1 - a)),
                          static_cast<float>(top.blueF() * a + below.blueF() * (1 - a)));
}

// The mean colours of the pictures of one page, each worked out once.
using MeanColours = std::map<qint64, QColor>;

// What `brush` paints over `below`: its colour, or a picture's mean colour.
QColor paintedOver(const QBrush& brush, const QColor& below, MeanColours& means) {
  if (brush.style() == Qt::NoBrush) return below;
  if (brush.style() != Qt::TexturePattern) return over(brush.color(), below);
  const QImage picture = brush.textureImage();
  if (picture.isNull()) return below;
  auto [mean, added] = means.try_emplace(picture.cacheKey());
  if (added) {
    mean->second =
        picture.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0);
  }
  return over(mean->second, below);
}

// The colour behind the text at `position`: the page, then the frames and table cells around
// it from the outside in, then its paragraph's and its own background.
QColor backgroundAt(QTextDocument& document, int position, const QColor& page,
                    const QBrush& paragraph, const QBrush& own, MeanColours& means) {
  QColor colour = page;
  std::vector<QBrush> brushes;  // inside out; none on a page without frames
  for (QTextFrame* frame = document.frameAt(position); frame != nullptr && frame->parentFrame();
       frame = frame->parentFrame()) {
    if (auto* table = qobject_cast<QTextTable*>(frame)) {
      const QTextTableCell cell = table->cellAt(position);
      if (cell.isValid()) brushes.push_back(cell.format().background());
    }
    brushes.push_back(frame->frameFormat().background());
  }
  for (auto it = brushes.rbegin(); it != brushes.rend(); ++it)
    colour = paintedOver(*it, colour, means);
  return paintedOver(own, paintedOver(paragraph, colour, means), means);
}

// Size, spacing and colour that make the text seen; empty when it is seen already.
QTextCharFormat charFix(const QTextCharFormat& format, const QColor& behind, const QColor& text) {
  QTextCharFormat fix;
  if (format.hasProperty(QTextFormat::FontPixelSize) &&
      format.intProperty(QTextFormat::FontPixelSize) < kMinTextPixels)
    fix.setProperty(QTextFormat::FontPixelSize, kMinTextPixels);
  if (format.hasProperty(QTextFormat::FontPointSize) &&
      format.fontPointSize() * kPixelsPerPoint < kMinTextPixels)
    fix.setFontPointSize(kMinTextPixels / kPixelsPerPoint);
  if (format.hasProperty(QTextFormat::FontLetterSpacing) &&
      format.fontLetterSpacing() <
          (format.fontLetterSpacingType() == QFont::PercentageSpacing ? 100.0 : 0.0)) {
    fix.setFontLetterSpacingType(QFont::PercentageSpacing);
    fix.setFontLetterSpacing(100);
  }
  if (format.hasProperty(QTextFormat::FontWordSpacing) && format.fontWordSpacing() < 0)
    fix.setFontWordSpacing(0);
  if (format.hasProperty(QTextFormat::FontStretch) && format.fontStretch() > 0 &&
      format.fontStretch() < QFont::Condensed)
    fix.setFontStretch(QFont::Unstretched);
  const QBrush foreground = format.foreground();
  const QColor ink = over(foreground.style() == Qt::NoBrush ? text : foreground.color(), behind);
  if (contrast(ink, behind) < kMinContrast)
    fix.setForeground(contrast(Qt::black, behind) >= contrast(Qt::white, behind) ? Qt::black
                                                                                 : Qt::white);
  return fix;
}

// Line heights and indents that draw lines over one another or off the page, set back.
QTextBlockFormat blockFix(const QTextBlockFormat& format) {
  QTextBlockFormat fix;
  const int type = format.lineHeightType();
  if ((type == QTextBlockFormat::ProportionalHeight && format.lineHeight() < 100) ||
      type == QTextBlockFormat::FixedHeight ||
      (type == QTextBlockFormat::LineDistanceHeight && format.lineHeight() < 0))
    fix.setLineHeight(0, QTextBlockFormat::SingleHeight);
  if (format.topMargin() < 0) fix.setTopMargin(0);
  if (format.bottomMargin() < 0) fix.setBottomMargin(0);
  if (format.rightMargin() < 0) fix.setRightMargin(0);
  const double left = std::max(0.0, format.leftMargin());
  if (format.leftMargin() < 0) fix.setLeftMargin(0);
  if (left + format.textIndent() < 0) fix.setTextIndent(-left);
  return fix;
}

}  // namespace

void revealHiddenText(QTextDocument& document, const QColor& base, const QColor& text) {
  struct CharChange {
    int start;
    int end;
    QTextCharFormat fix;
  };
  std::vector<CharChange> chars;
  std::vector<std::pair<int, QTextBlockFormat>> blocks;
  MeanColours means;
  const QColor page = paintedOver(document.rootFrame()->frameFormat().background(), base, means);
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const QTextBlockFormat blockFormat = block.blockFormat();
    if (QTextBlockFormat fix = blockFix(blockFormat); !fix.properties().isEmpty())
      blocks.emplace_back(block.position(), fix);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      if (format.isImageFormat()) continue;
      const QColor behind = backgroundAt(document, fragment.position(), page,
                                         blockFormat.background(), format.background(), means);
      if (QTextCharFormat fix = charFix(format, behind, text); !fix.properties().isEmpty())
        chars.push_back({fragment.position(), fragment.position() + fragment.length(), fix});
    }
  }
  if (chars.empty() && blocks.empty()) return;
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  for (const auto& [position, fix] : blocks) {
    cursor.setPosition(position);
    cursor.mergeBlockFormat(fix);
  }
  for (const CharChange& change : chars) {
    cursor.setPosition(change.start);
    cursor.setPosition(change.end, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(change.fix);
  }
  cursor.endEditBlock();
}

}  // namespace lexora
