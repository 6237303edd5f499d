#pragma once
// The HTML viewer: shows a page exactly as the renderer made it and reports taps on links
// (the link's href) without ever navigating by itself.
//
// The page is adapted to the Qt text engine on its way in, never changed at its source:
// - a <br> that ends a line right before a paragraph starts (possibly inside opening inline
//   tags) is dropped, since Qt would draw an extra blank line for it;
// - lengths in em inside style attributes become pixels of the viewer's font, since Qt takes
//   1em as a line height;
// - tables nested deeper than kMaxTableNesting lose their table tags: each level doubles the
//   Qt text engine's layout time, and a few hundred bytes of nested tables would keep the
//   window busy for minutes.
//
// Text the page hides (type too small to see, the colour of its background) is shown: see
// hidden_text.h. A page may name pictures and style sheets; only what the ResourceGuard
// allows is read, and a link is never followed: a tap only reports its href.

#include <QString>
#include <QTextBrowser>
#include <string>

#include "gui/widgets/resource_guard.h"

namespace lexora {

class HtmlViewer : public QTextBrowser {
  Q_OBJECT
 public:
  explicit HtmlViewer(QWidget* parent = nullptr);

  static constexpr int kMaxTableNesting = 4;

  // Replaces the page on show. `dataFile` is the data file of the dictionary whose entry the
  // page shows (empty: none); the page may use the files of its resource folder.
  void showPage(const QString& html, const std::string& dataFile = std::string());
  const QString& page() const { return page_; }  // the page as given

  // Text size 0 (smallest) ... 4 (largest), 2 is the normal size.
  void setZoomLevel(int level);
  void setClearType(bool on);

  // The page as handed to the Qt text engine. `emPixels` is the font size in pixels.
  static QString adaptHtml(const QString& html, double emPixels);

 protected:
  QVariant loadResource(int type, const QUrl& name) override;

 signals:
  void linkTapped(const QString& href);

 private:
  QString page_;
  std::string dataFile_;
  ResourceGuard guard_;
  int baseFontPointSize_;
};

}  // namespace lexora
