// The viewer with pages a hostile dictionary could bring: only the shown dictionary's
// resource folder, the program's pictures and the page head's background picture are read.

#include "gui/widgets/html_viewer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace lexora {
namespace {

QApplication& application() {
  static int argc = 1;
  static char name[] = "widgets_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

QByteArray redPng() {
  QImage red(40, 40, QImage::Format_RGB32);
  red.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  red.save(&buffer, "PNG");
  return bytes;
}

class HtmlViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = dir.path();
    dataFile = (root + "/book.pvm").toStdString();
    QDir(root).mkpath(QStringLiteral("book.res"));
    QDir(root).mkpath(QStringLiteral("elsewhere"));
    write(root + "/book.res/red.png", redPng());
    write(root + "/elsewhere/red.png", redPng());
    write(root + "/book.res/big.png", redPng() + QByteArray(9 << 20, '\0'));
    ::symlink((root + "/elsewhere/red.png").toUtf8().constData(),
              (root + "/book.res/escape.png").toUtf8().constData());
    ::mkfifo((root + "/book.res/pipe.png").toUtf8().constData(), 0600);
    viewer.resize(300, 300);
    viewer.show();
  }

  static void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // Red pixels on screen once `body` is shown as an entry of the dictionary (or of `of`).
  int redPixels(const QString& body, const QString& head = QStringLiteral("<html><body>"),
                const std::string& of = std::string()) {
    viewer.showPage(head + body + QStringLiteral("</body></html>"), of.empty() ? dataFile : of);
    QApplication::processEvents();
    const QImage shot = viewer.grab().toImage();
    int reds = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) reds += shot.pixel(x, y) == qRgb(255, 0, 0);
    return reds;
  }

  // Pixels that change clearly on screen when the WORD in `body` changes: none while the page
  // hides it. The two words take the same room (a fixed-pitch font), so only their letters differ.
  int changedPixels(const QString& body, const QString& head = QStringLiteral("<html><body>")) {
    auto shot = [&](const char* word) {
      QString withWord = body;
      withWord.replace(QStringLiteral("WORD"), QStringLiteral("<tt>%1</tt>").arg(word));
      viewer.showPage(head + withWord + QStringLiteral("</body></html>"));
      QApplication::processEvents();
      return viewer.grab().toImage();
    };
    const QImage a = shot("MMMM");
    const QImage b = shot("IIII");
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x)
        changed += qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 64;
    return changed;
  }

  QApplication& app = application();  // before any widget
  QTemporaryDir dir;
  QString root;
  std::string dataFile;
  HtmlViewer viewer;
};

TEST_F(HtmlViewerTest, ReadsOnlyTheDictionarysResourcesAndThePageBackground) {
  EXPECT_GT(redPixels(QStringLiteral("<img src=\"red.png\">")), 0);
  EXPECT_GT(redPixels("<img src=\"file://" + root + "/book.res/red.png\">"), 0);
  EXPECT_GT(redPixels(QStringLiteral("x"),
                      "<html><body background=\"file://" + root + "/elsewhere/red.png\">"),
            0);
  const QByteArray png = redPng().toBase64();
  EXPECT_GT(redPixels("<img src=\"data:image/png;base64," + QString::fromLatin1(png) + "\">"), 0);

  const QStringList hostilePages = {
      "<img src=\"" + root + "/elsewhere/red.png\">",
      "<img src=\"file://" + root + "/elsewhere/red.png\">",
      QStringLiteral("<img src=\"../elsewhere/red.png\">"),
      QStringLiteral("<img src=\"escape.png\">"),
      QStringLiteral("<img src=\"big.png\">"),
      QStringLiteral("<img src=\"pipe.png\">"),
      QStringLiteral("<img src=\"/dev/zero\"><img src=\"file:///etc/hostname\">"),
      QStringLiteral("<img src=\"http://127.0.0.1:9/red.png\">"),
      "<p style=\"background-image:url(" + root + "/elsewhere/red.png)\">x</p>",
      "<table background=\"" + root + "/elsewhere/red.png\"><tr><td>xx</td></tr></table>",
  };
  for (const QString& hostile : hostilePages) {
    EXPECT_EQ(redPixels(hostile), 0) << hostile.toStdString();
  }
  // A resource folder that is a link opens nothing beyond it.
  ::symlink(root.toUtf8().constData(), (root + "/linked.res").toUtf8().constData());
  EXPECT_EQ(redPixels(QStringLiteral("<img src=\"elsewhere/red.png\">"),
                      QStringLiteral("<html><body>"), (root + "/linked.pvm").toStdString()),
            0);
  // Another page's background is not this page's: only the head names it.
  EXPECT_EQ(redPixels("<body background=\"file://" + root + "/elsewhere/red.png\">x"), 0);
  // A background picture that is a device is refused like any other resource.
  EXPECT_EQ(redPixels(QStringLiteral("x"),
                      QStringLiteral("<html><body background=\"file:///dev/zero\">")),
            0);
}

TEST_F(HtmlViewerTest, DeepTablesLoseTheirTagsButKeepTheirText) {
  QString html = QStringLiteral("<html><body>");
  for (int i = 0; i < 40; ++i) html += QStringLiteral("<TABLE><tr><td>cell");
  for (int i = 0; i < 40; ++i) html += QStringLiteral("</td></tr></table>");
  const QString adapted = HtmlViewer::adaptHtml(html, 13);
  EXPECT_EQ(adapted.count(QStringLiteral("<table"), Qt::CaseInsensitive),
            HtmlViewer::kMaxTableNesting);
  EXPECT_EQ(adapted.count(QStringLiteral("</table>")), HtmlViewer::kMaxTableNesting);
  EXPECT_EQ(adapted.count(QStringLiteral("cell")), 40);
  EXPECT_EQ(adapted.count(QStringLiteral("<br>")), 1);  // not one blank line per level
}

// Words a dictionary hides from its reader are shown, however the page hides them; text that
// can be read keeps its looks.
TEST_F(HtmlViewerTest, TextThePageHidesIsShown) {
  const int seen = changedPixels(QStringLiteral("WORD"));
  ASSERT_GT(seen, 20);
  const QString black = QStringLiteral("<html><body BGCOLOR=\"#000000\">");
  const std::pair<QString, QString> hidden[] = {
      {QStringLiteral("<span style=\"font-size:1px\">WORD</span>"), {}},
      {QStringLiteral("<span style=\"font-size:0.3pt\">WORD</span>"), {}},
      {QStringLiteral("<font color=\"#fefefe\">WORD</font>"), {}},
      {QStringLiteral("<span style=\"color:rgba(0,0,0,0)\">WORD</span>"), {}},
      {QStringLiteral("<span style=\"background-color:#000;color:#010101\">WORD</span>"), {}},
      {QStringLiteral("<p class=\"x\">WORD</p>"),
       QStringLiteral("<html><head><style>.x { color: white }</style></head><body>")},
      {QStringLiteral("<table><tr><td bgcolor=\"#000\"><font color=\"#000\">WORD</font>"
                      "</td></tr></table>"),
       {}},
      {QStringLiteral("<p style=\"text-indent:-9000px\">WORD</p>"), {}},
      {QStringLiteral("WORD"), black},                      // text without a colour on a black page
      {QStringLiteral("<font color=\"#f00\">WORD</font>"),  // on a red background picture
       "<html><body background=\"file://" + root + "/elsewhere/red.png\">"},
  };
  for (const auto& [body, head] : hidden) {
    const int changed = head.isEmpty() ? changedPixels(body) : changedPixels(body, head);
    EXPECT_GT(changed, seen / 4) << body.toStdString() << head.toStdString();
  }
  viewer.showPage(QStringLiteral("<html><body><font color=\"#808080\">MMMM</font></body></html>"));
  QApplication::processEvents();
  const QImage shot = viewer.grab().toImage();
  int grey = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) grey += shot.pixel(x, y) == qRgb(128, 128, 128);
  EXPECT_GT(grey, 0);
}

TEST_F(HtmlViewerTest, ALinkOnlyReportsItsAddress) {
  QSignalSpy tapped(&viewer, &HtmlViewer::linkTapped);
  const QString page = QStringLiteral(
      "<html><body><a href=\"file:///etc/hostname\">a</a> <a href=\"http://127.0.0.1:9/\">b</a> "
      "<a href=\"/usr/bin/true\">c</a></body></html>");
  for (int link = 0; link < 3; ++link) {
    viewer.showPage(page);
    viewer.setFocus();
    for (int k = 0; k <= link; ++k) QTest::keyClick(&viewer, Qt::Key_Tab);
    QTest::keyClick(&viewer, Qt::Key_Return);
  }
  ASSERT_EQ(tapped.count(), 3);
  EXPECT_EQ(tapped[0][0].toString(), QStringLiteral("file:///etc/hostname"));
  EXPECT_EQ(tapped[1][0].toString(), QStringLiteral("http://127.0.0.1:9/"));
  EXPECT_EQ(tapped[2][0].toString(), QStringLiteral("/usr/bin/true"));
  EXPECT_EQ(viewer.page(), page);
  EXPECT_TRUE(viewer.source().isEmpty());
  EXPECT_TRUE(viewer.toPlainText().startsWith(QStringLiteral("a b c")));
}

TEST_F(HtmlViewerTest, ATappedWordComesBackAsItIsWritten) {
  QSignalSpy tapped(&viewer, &HtmlViewer::linkTapped);
  const QStringList words{QStringLiteral("hot dog"), QStringLiteral("C#"),
                          QStringLiteral("na\u00efve"), QStringLiteral("50%")};
  for (const QString& word : words) {
    viewer.showPage(
        QStringLiteral("<html><body><a href=\"%1\">w</a></body></html>").arg(word.toHtmlEscaped()));
    viewer.setFocus();
    QTest::keyClick(&viewer, Qt::Key_Tab);
    QTest::keyClick(&viewer, Qt::Key_Return);
  }
  ASSERT_EQ(tapped.count(), words.size());
  for (qsizetype k = 0; k < words.size(); ++k) EXPECT_EQ(tapped[k][0].toString(), words[k]);
}

}  // namespace
}  // namespace lexora
