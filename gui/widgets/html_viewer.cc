#include "gui/widgets/html_viewer.h"

#include <QFontInfo>
#include <QRegularExpression>

namespace lexora {

HtmlViewer::HtmlViewer(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);  // a tap on a link would otherwise blank the page
  setOpenExternalLinks(false);
  setUndoRedoEnabled(false);
  baseFontPointSize_ = font().pointSize() > 0 ? font().pointSize() : 10;
  connect(this, &QTextBrowser::anchorClicked, this,
          [this](const QUrl& url) { emit linkTapped(url.toString(QUrl::FullyDecoded)); });
}

QString HtmlViewer::adaptHtml(const QString& html, double emPixels) {
  static const QRegularExpression brBeforeParagraph(
      QStringLiteral("<br\\s*/?>(\\s*(?:<(?:font|b|i|u|span|em|strong)\\b[^>]*>\\s*)*<p[\\s>])"),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression styleAttribute(QStringLiteral("style\\s*=\\s*\"([^\"]*)\""),
                                                 QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression emLength(QStringLiteral("(\\d+(?:\\.\\d+)?|\\.\\d+)em\\b"));

  // A <br> only ends a line that has text; after a block's end it stands for a blank line.
  QString out;
  out.reserve(html.size());
  qsizetype last = 0;
  auto it = brBeforeParagraph.globalMatch(html);
  while (it.hasNext()) {
    QRegularExpressionMatch m = it.next();
    QString before = html.mid(last, m.capturedStart() - last);
    QString soFar = out + before;
    static const QRegularExpression endsAfterBlock(
        QStringLiteral("(?:</p>|<body[^>]*>|<br\\s*/?>)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    out += before;
    if (soFar.contains(endsAfterBlock))
      out += m.captured(0).left(m.capturedStart(1) - m.capturedStart());
    out += m.captured(1);
    last = m.capturedEnd();
  }
  out += html.mid(last);

  // em lengths inside style attributes become pixels.
  QString result;
  result.reserve(out.size());
  last = 0;
  auto styles = styleAttribute.globalMatch(out);
  while (styles.hasNext()) {
    QRegularExpressionMatch m = styles.next();
    result += out.mid(last, m.capturedStart(1) - last);
    QString style = m.captured(1);
    QString converted;
    qsizetype pos = 0;
    auto lengths = emLength.globalMatch(style);
    while (lengths.hasNext()) {
      QRegularExpressionMatch l = lengths.next();
      converted += style.mid(pos, l.capturedStart() - pos);
      double px = l.captured(1).toDouble() * emPixels;
      converted += QString::number(qRound(px)) + QStringLiteral("px");
      pos = l.capturedEnd();
    }
    converted += style.mid(pos);
    result += converted;
    last = m.capturedEnd(1);
  }
  result += out.mid(last);

  // Pictures sit on the middle of the text line, not on its baseline.
  static const QRegularExpression imageWithoutAlign(QStringLiteral("<img(?![^>]*\\balign\\s*=)"),
                                                    QRegularExpression::CaseInsensitiveOption);
  result.replace(imageWithoutAlign, QStringLiteral("<img align=\"middle\""));
  return result;
}

void HtmlViewer::showPage(const QString& html) {
  page_ = html;
  clear();
  QFontInfo info(font());
  setHtml(adaptHtml(html, info.pixelSize() > 0 ? info.pixelSize() : 13));
}

void HtmlViewer::setZoomLevel(int level) {
  static const int kSteps[] = {-3, -1, 0, 2, 5};
  if (level < 0) level = 0;
  if (level > 4) level = 4;
  QFont f = font();
  f.setPointSize(baseFontPointSize_ + kSteps[level]);
  setFont(f);
  document()->setDefaultFont(f);
  if (!page_.isEmpty()) showPage(page_);
}

void HtmlViewer::setClearType(bool on) {
  QFont f = font();
  f.setStyleStrategy(on ? QFont::PreferAntialias : QFont::NoAntialias);
  setFont(f);
  document()->setDefaultFont(f);
  if (!page_.isEmpty()) showPage(page_);
}

}  // namespace lexora
