#include "gui/widgets/html_viewer.h"

#include <QBuffer>
#include <QFontInfo>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>

#include "engine/file_format.h"
#include "gui/widgets/hidden_text.h"

namespace lexora {
namespace {

constexpr int kMaxPictureSide = 4096;
constexpr qsizetype kMaxDataUrlBytes = 64 * 1024;

// A picture decoded from `bytes`; a null image for anything that is no picture or too large
// once decoded (a few bytes of PNG can claim a picture of gigabytes).
QImage decodePicture(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
    return QImage();
  return reader.read();
}

// The picture of a small "data:image/...;base64," address; null for any other.
QImage dataUrlPicture(const QUrl& url) {
  const QByteArray encoded = url.toEncoded();
  const qsizetype comma = encoded.indexOf(',');
  if (comma < 0 || encoded.size() - comma > kMaxDataUrlBytes) return QImage();
  const QByteArray head = encoded.left(comma).toLower();
  if (!head.startsWith("data:image/") || !head.endsWith(";base64")) return QImage();
  return decodePicture(
      QByteArray::fromBase64(QByteArray::fromPercentEncoding(encoded.mid(comma + 1))));
}

// Table tags below kMaxTableNesting levels of tables are dropped; a cell then starts with a
// blank and a row ends a line.
QString capTableNesting(const QString& html, int maxNesting) {
  static const QRegularExpression tableTag(
      QStringLiteral("<(/?)(table|tr|td|th|tbody|thead|tfoot|caption|colgroup|col)\\b[^>]*>"),
      QRegularExpression::CaseInsensitiveOption);
  QString out;
  qsizetype last = 0;
  int depth = 0;
  auto it = tableTag.globalMatch(html);
  while (it.hasNext()) {
    const QRegularExpressionMatch m = it.next();
    const bool closing = !m.capturedView(1).isEmpty();
    const QString name = m.captured(2).toLower();
    const bool table = name == QLatin1String("table");
    if (table && !closing) ++depth;
    const bool dropped = depth > maxNesting;
    if (table && closing && depth > 0) --depth;
    if (!dropped) continue;
    if (out.isEmpty()) out.reserve(html.size());
    out += html.mid(last, m.capturedStart() - last);
    if (!closing && (name == QLatin1String("td") || name == QLatin1String("th")))
      out += QLatin1Char(' ');
    // The rows of nested tables end together: one line end for all of them.
    if (closing && name == QLatin1String("tr") && !out.endsWith(QLatin1String("<br>")))
      out += QStringLiteral("<br>");
    last = m.capturedEnd();
  }
  if (last == 0) return html;
  out += html.mid(last);
  return out;
}

// A refused picture is drawn as nothing: for a null answer Qt would read the path itself.
QVariant refused(int type) {
  if (type == QTextDocument::ImageResource) {
    QImage nothing(1, 1, QImage::Format_ARGB32);
    nothing.fill(Qt::transparent);
    return nothing;
  }
  if (type == QTextDocument::StyleSheetResource) return QString();
  return QByteArray();
}

}  // namespace

HtmlViewer::HtmlViewer(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);  // a tap on a link would otherwise blank the page
  setOpenExternalLinks(false);
  setUndoRedoEnabled(false);
  baseFontPointSize_ = font().pointSize() > 0 ? font().pointSize() : 10;
  connect(this, &QTextBrowser::anchorClicked, this,
          // The link's whole text, every escape decoded ("hot%20dog" is "hot dog"); a QUrl
          // cannot be turned into a string fully decoded directly.
          [this](const QUrl& url) { emit linkTapped(QUrl::fromPercentEncoding(url.toEncoded())); });
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
  return capTableNesting(result, kMaxTableNesting);
}

void HtmlViewer::showPage(const QString& html, const std::string& dataFile) {
  // The page head names the background picture from the user's style settings.
  static const QRegularExpression background(
      QStringLiteral("^<html><body background=\"file://([^\"]*)\">"));
  const QRegularExpressionMatch head = background.match(html);
  guard_.setBackgroundPicture(head.hasMatch() ? head.captured(1).toStdString() : std::string());
  guard_.setResourceFolder(dataFile.empty() ? std::string()
                                            : fileSetNames(dataFile).resourceFolder);
  page_ = html;
  dataFile_ = dataFile;
  clear();
  QFontInfo info(font());
  setHtml(adaptHtml(html, info.pixelSize() > 0 ? info.pixelSize() : 13));
  revealHiddenText(*document(), palette().color(QPalette::Base), palette().color(QPalette::Text));
}

void HtmlViewer::setZoomLevel(int level) {
  static const int kSteps[] = {-3, -1, 0, 2, 5};
  if (level < 0) level = 0;
  if (level > 4) level = 4;
  QFont f = font();
  f.setPointSize(baseFontPointSize_ + kSteps[level]);
  setFont(f);
  document()->setDefaultFont(f);
  if (!page_.isEmpty()) showPage(page_, dataFile_);
}

void HtmlViewer::setClearType(bool on) {
  QFont f = font();
  f.setStyleStrategy(on ? QFont::PreferAntialias : QFont::NoAntialias);
  setFont(f);
  document()->setDefaultFont(f);
  if (!page_.isEmpty()) showPage(page_, dataFile_);
}

QVariant HtmlViewer::loadResource(int type, const QUrl& name) {
  if (type != QTextDocument::ImageResource && type != QTextDocument::StyleSheetResource)
    return refused(type);
  if (name.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0) {
    const QImage picture = type == QTextDocument::ImageResource ? dataUrlPicture(name) : QImage();
    return picture.isNull() ? refused(type) : QVariant(picture);
  }
  const bool localHost = name.host().isEmpty() || name.host() == QLatin1String("localhost");
  const std::string path = localHost ? guard_.localPath(name.scheme().toLower().toStdString(),
                                                        name.path(QUrl::FullyDecoded).toStdString())
                                     : std::string();
  std::string bytes;
  if (path.empty() || !guard_.read(path, bytes)) return refused(type);
  const QByteArray content(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (type == QTextDocument::StyleSheetResource) return QString::fromUtf8(content);
  const QImage picture = decodePicture(content);
  return picture.isNull() ? refused(type) : QVariant(picture);
}

}  // namespace lexora
