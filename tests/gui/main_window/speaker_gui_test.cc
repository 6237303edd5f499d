// The speaker link beside the headword, the page's sound links and the shortcut that says the
// shown headword. There is no audio device here: the tests check what would be played.

#include <gtest/gtest.h>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "engine/file_format.h"
#include "gui/main_window/menu_bar.h"
#include "gui/main_window/word_player.h"
#include "gui/widgets/html_viewer.h"
#include "gui_test_support.h"

namespace lexora::test {
namespace {

const Entries kPets = {{u"cat", u"@cat\r\n- a pet\r\n\uFFFCsnd/cat.wav"},
                       {u"dog", u"@dog\r\n- a pet"}};

void show(LexoraDialog& w, const char* word) {
  w.wordBox()->clear();
  QTest::keyClicks(w.wordBox(), word);
  QTest::keyClick(w.wordBox(), Qt::Key_Return);
}

void speakShortcut(LexoraDialog& w) {
  QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
}

TEST(SpeakerGuiTest, RecordingsAndTheVoicePlayFromTheirLinksAndTheShortcut) {
  WindowFixture f;
  const std::string path = f.addDictionary("pets", kPets);
  const std::string folder = fileSetNames(path).resourceFolder;
  std::filesystem::create_directories(folder + "/snd");
  std::ofstream(folder + "/snd/cat.wav", std::ios::binary) << "RIFF recording";
  f.speakHeadwords = true;
  LexoraDialog& w = f.open();
  w.show();
  show(w, "cat");
  const QString page = w.viewer()->page();
  EXPECT_TRUE(page.contains("<a href=\"say:\">")) << page.toStdString();
  EXPECT_TRUE(page.contains("<a href=\"sound:snd/cat.wav\">")) << page.toStdString();
  const QString recording = QString::fromStdString(folder + "/snd/cat.wav");
  emit w.viewer()->linkTapped(QStringLiteral("sound:snd/cat.wav"));
  EXPECT_EQ(w.wordPlayer()->lastPlayed(), recording);
  emit w.viewer()->linkTapped(QStringLiteral("sound:snd/../../pets.pvm"));  // not a sound
  EXPECT_EQ(w.wordPlayer()->lastPlayed(), recording);

  // "dog" has no recording: the voice says it, made without holding up the window.
  show(w, "dog");
  speakShortcut(w);
  QTRY_VERIFY(w.wordPlayer()->lastPlayed() != recording);
  QFile voice(w.wordPlayer()->lastPlayed());
  ASSERT_TRUE(voice.open(QIODevice::ReadOnly));
  const QByteArray wav = voice.readAll();
  EXPECT_TRUE(wav.startsWith("RIFF"));
  EXPECT_GT(wav.size(), 4000);
  show(w, "cat");
  emit w.viewer()->linkTapped(QStringLiteral("say:"));
  EXPECT_EQ(w.wordPlayer()->lastPlayed(), recording);
}

TEST(SpeakerGuiTest, WithTheVoiceOffThePageIsTheRenderersAndOnlyRecordingsPlay) {
  WindowFixture f;
  f.addDictionary("pets", kPets);
  std::vector<uint32_t> written;
  f.adjustServices = [&written](WindowServices& s) {
    s.writeSpeakHeadwords = [&written](uint32_t value) {
      written.push_back(value);
      return true;
    };
  };
  LexoraDialog& w = f.open();
  w.show();
  show(w, "dog");
  EXPECT_FALSE(w.viewer()->page().contains("say:"));
  speakShortcut(w);
  EXPECT_TRUE(w.wordPlayer()->lastPlayed().isEmpty());

  // "Speak Headwords" in the options menu switches the voice on, stored at once.
  QAction* option = w.findChild<MenuBar*>()->action(kCmdSpeakHeadwords);
  ASSERT_NE(option, nullptr);
  EXPECT_FALSE(option->isChecked());
  option->trigger();
  EXPECT_TRUE(option->isChecked());
  EXPECT_EQ(written, std::vector<uint32_t>{1});
  show(w, "dog");
  EXPECT_TRUE(w.viewer()->page().contains("<a href=\"say:\">"));
}

}  // namespace
}  // namespace lexora::test
