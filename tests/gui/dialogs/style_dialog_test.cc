#include "gui/dialogs/style_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <deque>
#include <optional>

#include "gui/dialogs/style_dialog_layout.h"
#include "gui/widgets/html_viewer.h"
#include "recording_desktop_programs.h"
#include "render/entry_renderer.h"

namespace lexora {
namespace {

const std::u16string kFolder = u"/opt/lexora/";

// A style dialog on its own display settings, with scripted choosers.
class StyleDialogTest : public ::testing::Test {
 protected:
  void open() {
    StyleDialogServices services;
    services.chooseColour = [this](QWidget*) -> std::optional<uint32_t> {
      ++colourChooserRuns;
      if (colourAnswers.empty()) return std::nullopt;
      auto answer = colourAnswers.front();
      colourAnswers.pop_front();
      return answer;
    };
    services.choosePicture = [this](QWidget*) -> std::optional<std::u16string> {
      ++pictureChooserRuns;
      return pictureAnswer;
    };
    services.showMessage = [this](QWidget*, const QString& text) { messages.push_back(text); };
    services.programs = &programs;
    services.programFolder = kFolder;
    dialog = std::make_unique<StyleDialog>(display, std::move(services));
  }

  template <typename T>
  T* child(const char* name) {
    T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  void choose(int row) { child<QComboBox>("styleList")->setCurrentIndex(row); }
  QString expectedPage() const {
    return QString::fromStdU16String(
        renderEntryPage(StyleDialog::kSampleEntry, RenderOptions{display, kFolder, true}));
  }

  DisplaySettings display;
  std::deque<std::optional<uint32_t>> colourAnswers;
  std::optional<std::u16string> pictureAnswer;
  int colourChooserRuns = 0;
  int pictureChooserRuns = 0;
  std::vector<QString> messages;
  test::RecordingDesktopPrograms programs;
  std::unique_ptr<StyleDialog> dialog;
};

TEST_F(StyleDialogTest, OpensOnThePromptWithTheSampleRendered) {
  open();
  auto* list = child<QComboBox>("styleList");
  ASSERT_EQ(list->count(), 8);
  const char* rows[] = {"Choose Style to Change",
                        "Word",
                        "/Pronunciation/",
                        "Word-Class",
                        "Meaning",
                        "Example",
                        "Idiom",
                        "Synonym-Antonym"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(list->itemText(i), QString::fromLatin1(rows[i]));
  EXPECT_EQ(list->currentIndex(), 0);
  EXPECT_FALSE(child<QCheckBox>("hiddenBox")->isChecked());
  EXPECT_FALSE(child<QCheckBox>("boldBox")->isChecked());
  EXPECT_FALSE(child<QCheckBox>("italicBox")->isChecked());
  EXPECT_EQ(child<QLabel>("titleLabel")->text(), QStringLiteral("Customize Interface Style"));
  EXPECT_EQ(child<QLabel>("popupTimeLabel")->text(), QStringLiteral("Time to show popup"));
  EXPECT_EQ(child<QRadioButton>("textureButton")->text(), QStringLiteral("Textture"));
  EXPECT_TRUE(child<QRadioButton>("backColorButton")->isChecked());
  EXPECT_FALSE(child<QRadioButton>("textureButton")->isChecked());

  EXPECT_EQ(StyleDialog::kSampleEntry,
            u"@word /pronunciation/\r\n* word-class\r\n- meaning\r\n"
            u"=$example come here+mean of example\r\n!$idiom\r\n- meaning\r\n"
            u"=$example come here+mean of example\r\n# syn: $synonymI$, $synonymII$");
  EXPECT_EQ(dialog->previewPage(), expectedPage());
  EXPECT_TRUE(dialog->previewPage().startsWith(QStringLiteral("<html><body BGCOLOR=\"#ffffff\">")));
  // The whole first line is the headword, in the Word style.
  EXPECT_TRUE(dialog->previewPage().contains(
      QStringLiteral("<font color=\"#000000\"><B>word /pronunciation/</B></font><br>")));
}

TEST_F(StyleDialogTest, TextureInUseChecksTheTextureButton) {
  display.useTexture = 1;
  display.texturePath = u"/pics/paper.jpeg";
  open();
  EXPECT_TRUE(child<QRadioButton>("textureButton")->isChecked());
  EXPECT_FALSE(child<QRadioButton>("backColorButton")->isChecked());
  EXPECT_TRUE(dialog->previewPage().startsWith(
      QStringLiteral("<html><body background=\"file:///pics/paper.jpeg\">")));
}

TEST_F(StyleDialogTest, AtThePromptFlagsAndColourChangeNothing) {
  open();
  const DisplaySettings before = display;
  const int refreshes = dialog->previewRefreshCount();
  colourAnswers.push_back(0x00123456);
  for (const char* name : {"hiddenBox", "boldBox", "italicBox"}) {
    auto* box = child<QCheckBox>(name);
    box->click();
    EXPECT_TRUE(box->isChecked()) << name;  // the box itself still toggles
  }
  child<QPushButton>("colorButton")->click();
  EXPECT_EQ(colourChooserRuns, 0);
  EXPECT_EQ(display, before);
  EXPECT_EQ(dialog->previewRefreshCount(), refreshes);
}

TEST_F(StyleDialogTest, ChoosingAnElementShowsItsFlags) {
  open();
  choose(3);  // Word-Class: bold italic by default
  EXPECT_FALSE(child<QCheckBox>("hiddenBox")->isChecked());
  EXPECT_TRUE(child<QCheckBox>("boldBox")->isChecked());
  EXPECT_TRUE(child<QCheckBox>("italicBox")->isChecked());
  choose(4);  // Meaning
  EXPECT_FALSE(child<QCheckBox>("boldBox")->isChecked());
  EXPECT_FALSE(child<QCheckBox>("italicBox")->isChecked());
  choose(0);
  EXPECT_FALSE(child<QCheckBox>("boldBox")->isChecked());
}

TEST_F(StyleDialogTest, FlagsChangeTheirOwnRecordAtOnceAndThePreviewFollows) {
  open();
  choose(4);  // Meaning
  child<QCheckBox>("hiddenBox")->click();
  EXPECT_EQ(display.style(kMeaningStyle).hidden, 1u);
  EXPECT_EQ(dialog->previewPage(), expectedPage());
  EXPECT_FALSE(dialog->previewPage().contains(QStringLiteral("meaning.gif")));  // both lines
  child<QCheckBox>("hiddenBox")->click();
  EXPECT_EQ(display.style(kMeaningStyle).hidden, 0u);
  EXPECT_EQ(dialog->previewPage().count(QStringLiteral("meaning.gif")), 2);

  choose(6);  // Idiom
  child<QCheckBox>("boldBox")->click();
  child<QCheckBox>("italicBox")->click();
  EXPECT_EQ(display.style(kIdiomStyle).bold, 1u);
  EXPECT_EQ(display.style(kIdiomStyle).italic, 1u);
  EXPECT_EQ(display.style(kMeaningStyle).bold, 0u);  // other records untouched
  EXPECT_TRUE(dialog->previewPage().contains(QStringLiteral("<I><B><p style")));
  EXPECT_EQ(dialog->previewPage(), expectedPage());

  choose(1);  // Word: hidden is stored but the headword stays on the page
  const QString before = dialog->previewPage();
  child<QCheckBox>("hiddenBox")->click();
  EXPECT_EQ(display.style(kWordStyle).hidden, 1u);
  EXPECT_EQ(dialog->previewPage(), before);
}

TEST_F(StyleDialogTest, ColourChooserSetsTheRecordOnlyOnOk) {
  open();
  choose(7);                            // Synonym-Antonym
  colourAnswers.push_back(0x0000FF00);  // green
  child<QPushButton>("colorButton")->click();
  EXPECT_EQ(display.style(kSynonymStyle).colour, 0x0000FF00u);
  EXPECT_TRUE(dialog->previewPage().contains(QStringLiteral("<font color=\"#00ff00\">")));

  const int refreshes = dialog->previewRefreshCount();
  colourAnswers.push_back(std::nullopt);  // cancelled
  child<QPushButton>("colorButton")->click();
  EXPECT_EQ(colourChooserRuns, 2);
  EXPECT_EQ(display.style(kSynonymStyle).colour, 0x0000FF00u);
  EXPECT_EQ(dialog->previewRefreshCount(), refreshes);
}

TEST_F(StyleDialogTest, BackgroundColourAndPictureFollowTheirChoosers) {
  open();
  auto* backColor = child<QRadioButton>("backColorButton");
  auto* texture = child<QRadioButton>("textureButton");

  // A picture chosen: texture on, colour button cleared.
  pictureAnswer = u"/pics/paper.JPEG";
  texture->click();
  EXPECT_EQ(display.useTexture, 1u);
  EXPECT_EQ(display.texturePath, u"/pics/paper.JPEG");
  EXPECT_TRUE(texture->isChecked());
  EXPECT_FALSE(backColor->isChecked());
  EXPECT_TRUE(dialog->previewPage().startsWith(
      QStringLiteral("<html><body background=\"file:///pics/paper.JPEG\">")));

  // A colour chosen: colour background, texture button cleared.
  colourAnswers.push_back(0x00336699);
  backColor->click();
  EXPECT_EQ(display.backColor, 0x00336699u);
  EXPECT_EQ(display.useTexture, 0u);
  EXPECT_TRUE(backColor->isChecked());
  EXPECT_FALSE(texture->isChecked());
  EXPECT_TRUE(dialog->previewPage().startsWith(QStringLiteral("<html><body BGCOLOR=\"#996633\">")));

  // A cancelled picture pick goes back to the colour button; the colour stays in force.
  pictureAnswer.reset();
  const int refreshes = dialog->previewRefreshCount();
  texture->click();
  EXPECT_TRUE(backColor->isChecked());
  EXPECT_FALSE(texture->isChecked());
  EXPECT_EQ(display.useTexture, 0u);
  EXPECT_EQ(display.texturePath, u"/pics/paper.JPEG");
  EXPECT_EQ(dialog->previewRefreshCount(), refreshes + 1);  // refreshed either way

  // A cancelled colour pick leaves the colour background, and the radios say so.
  colourAnswers.push_back(std::nullopt);
  backColor->click();
  EXPECT_FALSE(texture->isChecked());
  EXPECT_TRUE(backColor->isChecked());
  EXPECT_EQ(display.useTexture, 0u);
  EXPECT_EQ(display.backColor, 0x00336699u);
  EXPECT_EQ(dialog->previewRefreshCount(), refreshes + 1);
  EXPECT_TRUE(dialog->previewPage().startsWith(QStringLiteral("<html><body BGCOLOR=\"#996633\">")));
}

// The radios always show the background in force, whichever chooser was cancelled.
TEST_F(StyleDialogTest, CancelledChoosersLeaveTheRadiosOnTheBackgroundInForce) {
  display.useTexture = 1;
  display.texturePath = u"/pics/paper.jpeg";
  open();
  auto* backColor = child<QRadioButton>("backColorButton");
  auto* texture = child<QRadioButton>("textureButton");
  pictureAnswer.reset();
  texture->click();  // a new picture not chosen: the old one stays in force
  EXPECT_TRUE(texture->isChecked());
  EXPECT_FALSE(backColor->isChecked());
  colourAnswers.push_back(std::nullopt);
  backColor->click();
  EXPECT_TRUE(texture->isChecked());
  EXPECT_FALSE(backColor->isChecked());
  EXPECT_EQ(display.useTexture, 1u);
}

TEST_F(StyleDialogTest, CancelRestoresEveryDisplaySettingAsItWasAtOpening) {
  display.time2Show = 5;
  const DisplaySettings before = display;
  open();
  choose(4);
  child<QCheckBox>("boldBox")->click();
  colourAnswers.push_back(0x000000FF);
  child<QPushButton>("colorButton")->click();
  pictureAnswer = u"/pics/paper.JPEG";
  child<QRadioButton>("textureButton")->click();
  child<QSpinBox>("popupTimeBox")->setValue(9);
  ASSERT_NE(display, before);
  child<QToolButton>("cancelButton")->click();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(display, before);
}

TEST_F(StyleDialogTest, PopupTimeIsKeptInRangeAndStoredOnlyByOk) {
  display.time2Show = 1;
  open();
  auto* box = child<QSpinBox>("popupTimeBox");
  EXPECT_EQ(box->value(), 1);  // the stored time, not the nearest the arrows once offered
  box->setValue(99);
  EXPECT_EQ(box->value(), 20);
  box->setValue(7);
  child<QToolButton>("cancelButton")->click();
  EXPECT_EQ(display.time2Show, 1u);  // unchanged by any other way out

  open();
  child<QSpinBox>("popupTimeBox")->setValue(7);
  choose(2);
  child<QCheckBox>("boldBox")->click();  // acts at once, not at OK
  EXPECT_EQ(display.style(kPronunciationStyle).bold, 1u);
  EXPECT_EQ(display.time2Show, 1u);
  child<QToolButton>("okButton")->click();
  EXPECT_EQ(display.time2Show, 7u);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);

  // Return is OK too, from the spin box as from the style list.
  for (const char* control : {"popupTimeBox", "styleList"}) {
    open();
    dialog->show();
    child<QSpinBox>("popupTimeBox")->setValue(12);
    QTest::keyClick(dialog->findChild<QWidget*>(QString::fromLatin1(control)), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted) << control;
    EXPECT_EQ(display.time2Show, 12u) << control;
    display.time2Show = 1;
  }
}

TEST_F(StyleDialogTest, TappedLinkAndHelpKey) {
  open();
  emit dialog->findChild<HtmlViewer*>(QStringLiteral("preview"))
      ->linkTapped(QStringLiteral("come"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QStringLiteral("Word will be transalated: come"));

  auto* helpKey = dialog->findChild<QShortcut*>(QStringLiteral("helpKey"));
  ASSERT_NE(helpKey, nullptr);
  EXPECT_EQ(helpKey->key(), QKeySequence(Qt::Key_F1));
  emit helpKey->activated();
  EXPECT_EQ(programs.help, std::vector<std::string>{"file:Lexora.htm#InterfaceMenu"});
}

TEST(StyleDialogLayoutTest, PortraitAndLandscapeArrangements) {
  const StyleDialogLayout tall = layoutStyleDialog(ClientRect{0, 0, 240, 268});
  EXPECT_TRUE(tall.portrait);
  EXPECT_EQ(tall.popupTimeBox, (ControlRect{203, 26, 20, 18}));
  EXPECT_EQ(tall.textureButton, (ControlRect{143, 47, 75, 18}));
  EXPECT_EQ(tall.styleList, (ControlRect{2, 67, 236, 18}));
  EXPECT_EQ(tall.colorButton, (ControlRect{182, 88, 58, 16}));
  EXPECT_EQ(tall.preview, (ControlRect{-1, 107, 242, 161}));

  const StyleDialogLayout wide = layoutStyleDialog(ClientRect{0, 0, 320, 188});
  EXPECT_FALSE(wide.portrait);
  EXPECT_EQ(wide.popupTimeSpin, (ControlRect{142, 26, 15, 18}));
  EXPECT_EQ(wide.backColorButton, (ControlRect{163, 26, 75, 18}));
  EXPECT_EQ(wide.italicBox, (ControlRect{162, 67, 76, 18}));
  EXPECT_EQ(wide.preview, (ControlRect{-1, 87, 322, 101}));

  // A square counts as portrait; a tiny area gives the preview no height rather than a negative.
  EXPECT_TRUE(layoutStyleDialog(ClientRect{0, 0, 100, 100}).portrait);
  EXPECT_EQ(layoutStyleDialog(ClientRect{0, 0, 100, 100}).preview.height, 0);
}

TEST_F(StyleDialogTest, ResizingLaysTheControlsOutAgain) {
  open();
  dialog->show();
  auto* preview = dialog->findChild<HtmlViewer*>(QStringLiteral("preview"));
  dialog->resize(240, 400);
  EXPECT_EQ(preview->geometry(), QRect(-1, 107, 242, 293));
  dialog->resize(400, 240);
  EXPECT_EQ(preview->geometry(), QRect(-1, 87, 402, 153));
  EXPECT_EQ(child<QComboBox>("styleList")->geometry(), QRect(2, 47, 396, 18));
}

}  // namespace
}  // namespace lexora
