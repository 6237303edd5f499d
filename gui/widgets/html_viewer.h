#pragma once
// The HTML viewer: shows a page exactly as the renderer made it and reports taps on links
// (the link's href) without ever navigating by itself.
//
// The page is adapted to the Qt text engine on its way in, never changed at its source:
// - a <br> that ends a line right before a paragraph starts (possibly inside opening inline
//   tags) is dropped, since Qt would draw an extra blank line for it;
// - lengths in em inside style attributes become pixels of the viewer's font, since Qt takes
//   1em as a line height.

#include <QString>
#include <QTextBrowser>

namespace lexora {

class HtmlViewer : public QTextBrowser {
  Q_OBJECT
 public:
  explicit HtmlViewer(QWidget* parent = nullptr);

  // Replaces the page on show.
  void showPage(const QString& html);
  const QString& page() const { return page_; }  // the page as given

  // Text size 0 (smallest) ... 4 (largest), 2 is the normal size.
  void setZoomLevel(int level);
  void setClearType(bool on);

  // The page as handed to the Qt text engine. `emPixels` is the font size in pixels.
  static QString adaptHtml(const QString& html, double emPixels);

 signals:
  void linkTapped(const QString& href);

 private:
  QString page_;
  int baseFontPointSize_;
};

}  // namespace lexora
