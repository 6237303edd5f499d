#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWidget>

#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/about_layout.h"
#include "gui/dialogs/help.h"
#include "gui/dialogs/help_window.h"
#include "platform/qt/desktop_programs_qt.h"
#include "recording_desktop_programs.h"

namespace lexora {
namespace {

void pressHelpKey(QWidget& window) {
  auto* helpKey = window.findChild<QShortcut*>(QStringLiteral("helpKey"));
  ASSERT_NE(helpKey, nullptr);
  EXPECT_EQ(helpKey->key(), QKeySequence(Qt::Key_F1));
  emit helpKey->activated();
}

TEST(HelpTest, TheHelpOpensInTheProgramsOwnWindowOrSaysWhyNot) {
  QTemporaryDir dir;
  QFile help(dir.filePath(QStringLiteral("Lexora.htm")));
  ASSERT_TRUE(help.open(QIODevice::WriteOnly));
  help.write("<html><body><p>top</p>" + QByteArray(4000, '\n').replace('\n', "<p>x</p>") +
             "<h2><a name=\"Interface\">The main window</a></h2><p>words</p>" +
             QByteArray(4000, '\n').replace('\n', "<p>y</p>") + "</body></html>");
  help.close();
  QStringList messages;
  const auto record = [&messages](const QString& text) { messages << text; };

  HelpWindowPrograms programs(dir.path().toStdString() + "/", nullptr, record);
  showHelp(programs, HelpTopic::MainWindow);
  ASSERT_NE(programs.window(), nullptr);
  EXPECT_TRUE(programs.window()->isVisible());
  EXPECT_TRUE(programs.browser()->toPlainText().contains(QStringLiteral("The main window")));
  EXPECT_GT(programs.browser()->verticalScrollBar()->value(), 0);  // at its topic
  EXPECT_TRUE(messages.isEmpty());
  // No browser or mail program: said, not silently dropped.
  EXPECT_FALSE(programs.startBrowser("https://example.invalid/"));
  EXPECT_FALSE(programs.startMail("mailto:someone@example.invalid"));
  EXPECT_EQ(messages.size(), 2);

  HelpWindowPrograms nowhere("/nonexistent-folder/", nullptr, record);
  showHelp(nowhere, HelpTopic::AboutBox);
  EXPECT_EQ(nowhere.window(), nullptr);
  ASSERT_EQ(messages.size(), 3);
  EXPECT_TRUE(messages.back().contains(QStringLiteral("/nonexistent-folder/Lexora.htm")));
}

TEST(HelpTest, EachWindowHasItsOwnTopic) {
  EXPECT_EQ(helpCommandLine(HelpTopic::MainWindow), "file:Lexora.htm#Interface");
  EXPECT_EQ(helpCommandLine(HelpTopic::StyleDialog), "file:Lexora.htm#InterfaceMenu");
  EXPECT_EQ(helpCommandLine(HelpTopic::Dictionaries), "file:Lexora.htm#DictionaryMenu");
  EXPECT_EQ(helpCommandLine(HelpTopic::AboutBox), "file:Lexora.htm#Introdution");

  test::RecordingDesktopPrograms programs;
  QWidget window;
  installHelpKey(&window, &programs, HelpTopic::Dictionaries);
  pressHelpKey(window);
  showHelp(programs, HelpTopic::MainWindow);
  EXPECT_EQ(programs.help, (std::vector<std::string>{"file:Lexora.htm#DictionaryMenu",
                                                     "file:Lexora.htm#Interface"}));
  EXPECT_TRUE(programs.browser.empty());

  QWidget withoutViewer;  // no programs: no help key, nothing to crash on
  installHelpKey(&withoutViewer, nullptr, HelpTopic::MainWindow);
  EXPECT_EQ(withoutViewer.findChild<QShortcut*>(), nullptr);
}

TEST(HelpTest, HelpCommandLineBecomesAFileInTheHelpFolder) {
  const QUrl url = QtDesktopPrograms::helpUrl("/opt/lexora/", "file:Lexora.htm#InterfaceMenu");
  EXPECT_EQ(url.toString(), QStringLiteral("file:///opt/lexora/Lexora.htm#InterfaceMenu"));
  EXPECT_EQ(QtDesktopPrograms::helpUrl("/opt/lexora/", "file:Lexora.htm").toString(),
            QStringLiteral("file:///opt/lexora/Lexora.htm"));
  // Nothing outside the help folder, and nothing but "file:".
  EXPECT_TRUE(QtDesktopPrograms::helpUrl("/opt/lexora/", "file:../etc/passwd#x").isEmpty());
  EXPECT_TRUE(QtDesktopPrograms::helpUrl("/opt/lexora/", "file:..#x").isEmpty());
  EXPECT_TRUE(QtDesktopPrograms::helpUrl("/opt/lexora/", "http://x/Lexora.htm").isEmpty());
  EXPECT_TRUE(QtDesktopPrograms::helpUrl("/opt/lexora/", "file:#Interface").isEmpty());
}

TEST(HelpTest, MailProgramOnlyTakesMailAddresses) {
  QtDesktopPrograms programs("/nowhere/");
  EXPECT_FALSE(programs.startMail("https://lexora.invalid"));  // refused before any start
  EXPECT_FALSE(programs.startHelpViewer("file:../x.htm"));
}

class AboutDialogTest : public ::testing::Test {
 protected:
  QLabel* label(const char* name) {
    auto* l = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(l, nullptr) << name;
    return l;
  }

  test::RecordingDesktopPrograms programs;
  AboutDialog dialog{&programs};
};

TEST_F(AboutDialogTest, ShowsVersionLinksAndCredits) {
  EXPECT_EQ(label("versionLine")->text(), QStringLiteral("Lexora v0.1.0"));
  EXPECT_TRUE(label("versionLine")->font().bold());
  EXPECT_EQ(label("homePageLabel")->text(), QStringLiteral("Home page:"));
  EXPECT_EQ(label("supportLabel")->text(), QStringLiteral("Support:"));
  EXPECT_EQ(label("homePageLink")->text(), QStringLiteral("Lexora help (Lexora.htm)"));
  EXPECT_EQ(label("supportLink")->text(), QStringLiteral("Getting and importing dictionaries"));
  for (const char* link : {"homePageLink", "supportLink"}) {
    EXPECT_EQ(label(link)->palette().color(QPalette::WindowText), QColor(0, 0, 255)) << link;
    EXPECT_TRUE(label(link)->font().underline()) << link;
    EXPECT_EQ(label(link)->font().pixelSize(), 14) << link;
  }
  EXPECT_TRUE(label("credits")->text().contains(QStringLiteral("zlib")));
  EXPECT_TRUE(label("credits")->text().contains(QStringLiteral("Qt")));
  EXPECT_FALSE(label("programIcon")->pixmap().isNull());
}

// The links lead to what exists on this computer: the bundled help, never an invented address.
TEST_F(AboutDialogTest, LinkTapsOpenTheBundledHelpAndTheBoxStaysOpen) {
  dialog.show();
  QTest::mouseClick(label("homePageLink"), Qt::LeftButton);
  QTest::mouseClick(label("supportLink"), Qt::LeftButton);
  EXPECT_EQ(programs.help,
            (std::vector<std::string>{"file:Lexora.htm", "file:Lexora.htm#DictionaryMenu"}));
  EXPECT_TRUE(programs.browser.empty());
  EXPECT_TRUE(programs.mail.empty());
  EXPECT_TRUE(dialog.isVisible());
  // A click on a label that is not a link starts nothing.
  QTest::mouseClick(label("homePageLabel"), Qt::LeftButton);
  EXPECT_EQ(programs.help.size(), 2u);

  pressHelpKey(dialog);
  EXPECT_EQ(programs.help.back(), "file:Lexora.htm#Introdution");
}

TEST_F(AboutDialogTest, ResizingKeepsEveryLabelAndLinkWholeInsideTheBox) {
  dialog.show();
  for (const QSize size : {QSize(240, 268), QSize(320, 188), QSize(800, 600)}) {
    dialog.resize(size);
    for (const char* name : {"homePageLabel", "homePageLink", "supportLabel", "supportLink"}) {
      QLabel* l = label(name);
      const QRect r = l->geometry();
      EXPECT_TRUE(dialog.rect().contains(r)) << name << " at " << size.width();
      // Its text fits: on one line, or wrapped within the height it was given.
      EXPECT_GE(r.height(), l->heightForWidth(r.width()) > 0 ? l->heightForWidth(r.width())
                                                             : l->sizeHint().height())
          << name;
      if (!l->wordWrap()) {
        EXPECT_GE(r.width(), l->sizeHint().width()) << name;
      }
    }
  }
  EXPECT_EQ(label("versionLine")->geometry(), QRect(35, 5, 765, 15));
}

TEST(AboutLayoutTest, CreditsStayInsideTheClientArea) {
  EXPECT_EQ(layoutAboutBox(ClientRect{0, 0, 240, 268}).credits, (ControlRect{0, 218, 240, 50}));
  EXPECT_EQ(layoutAboutBox(ClientRect{0, 0, 640, 480}).credits, (ControlRect{200, 430, 440, 50}));
  EXPECT_EQ(layoutAboutBox(ClientRect{0, 0, 40, 40}).homePageLink.width, 0);
  // Centred as one block; a link wider than the room left wraps.
  const AboutLayout l = layoutAboutBox(ClientRect{0, 0, 300, 200}, {80, 150, 250, 16});
  EXPECT_EQ(l.homePageLabel, (ControlRect{4, 100, 80, 16}));
  EXPECT_EQ(l.homePageLink, (ControlRect{89, 100, 150, 16}));
  EXPECT_EQ(l.supportLink, (ControlRect{89, 116, 207, 48}));
  EXPECT_EQ(l.supportLabel.y, 116);
}

}  // namespace
}  // namespace lexora
