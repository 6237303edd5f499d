// lexora-cli say: eSpeak NG's voice as WAV in the word's or the dictionary's language, or the
// dictionary's own recording of the word.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/cli_folder.h"

namespace lexora::test {
namespace {

uint32_t littleEndian(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

TEST(SayCommand, VoiceInTheWordsLanguageOrTheRecording) {
  CliFolder dir;
  for (const auto& [word, voice] :
       {std::pair<std::string, std::string>{"hello", "en"}, {"ng\xC6\xB0\xE1\xBB\x9Di", "vi"}}) {
    const CliResult r = dir.run({"say", word, "-o", "w.wav"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "wrote w.wav (eSpeak NG, " + voice + ")\n");
    const std::string wav = dir.read("w.wav");
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(littleEndian(wav, 40), wav.size() - 44);  // the data chunk holds the rest
    // A word lasts a few tenths of a second: 16-bit samples at the voice's rate.
    const double seconds = (wav.size() - 44) / 2.0 / littleEndian(wav, 24);
    EXPECT_GT(seconds, 0.1) << word;
    EXPECT_LT(seconds, 3.0) << word;
  }

  ASSERT_EQ(dir.run({"create", "d.pvm"}).status, 0);
  ASSERT_EQ(dir.run({"add", "d.pvm", "cat", "@cat\r\n\xEF\xBF\xBCsnd/cat.mp3"}).status, 0);
  ASSERT_EQ(dir.run({"add", "d.pvm", "dog", "@dog\r\n\xEF\xBF\xBCsnd/gone.mp3"}).status, 0);
  std::filesystem::create_directories(dir.file("d.res/snd"));
  dir.write("d.res/snd/cat.mp3", "mp3 bytes");
  CliResult r = dir.run({"say", "--dict", "d.pvm", "cat", "-o", "c.mp3"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "wrote c.mp3 (the dictionary's recording cat.mp3)\n");
  EXPECT_EQ(dir.read("c.mp3"), "mp3 bytes");
  // A recording that is missing, one outside the resource folder, and a word that is no
  // headword: the voice.
  dir.write("outside.mp3", "not the dictionary's");
  ASSERT_EQ(dir.run({"add", "d.pvm", "eel", "@eel\r\n\xEF\xBF\xBC../outside.mp3"}).status, 0);
  std::filesystem::create_symlink(dir.file("outside.mp3"), dir.file("d.res/snd/fox.mp3"));
  ASSERT_EQ(dir.run({"add", "d.pvm", "fox", "@fox\r\n\xEF\xBF\xBCsnd/fox.mp3"}).status, 0);
  for (const char* word : {"dog", "eel", "fox", "bird"}) {
    r = dir.run({"say", "--dict", "d.pvm", word, "-o", "v.wav"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("v.wav").substr(0, 4), "RIFF") << word;
  }
  // Without -o: to a pipe, never onto a terminal.
  EXPECT_EQ(dir.run({"say", "cat"}).out.substr(0, 4), "RIFF");
  EXPECT_EQ(dir.runOnTerminal({"say", "cat"}).status, 2);
}

}  // namespace
}  // namespace lexora::test
