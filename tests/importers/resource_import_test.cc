// Pictures and sounds that DSL and MDict entries name: copied into the dictionary's resource
// folder (only those named), shown by media lines, removed with a failed import.

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>

#include "mdict_test_files.h"
#include "stardict_test_files.h"
#include "tests/support/cli_folder.h"

namespace lexora::test {
namespace {

namespace fs = std::filesystem;
const std::string kMedia = "\xEF\xBF\xBC";  // the lead of a media line

void writeZip(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& files) {
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(z, nullptr);
  for (const auto& [name, bytes] : files) {
    zip_source_t* source = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
    zip_file_add(z, name.c_str(), source, ZIP_FL_OVERWRITE);
  }
  ASSERT_EQ(zip_close(z), 0);
}

TEST(ResourceImport, DslMediaComeFromTheArchiveOrTheFolder) {
  const std::string dsl =
      "#NAME \"Pics\"\ncat\n\t[m1]a pet [s]Cat.PNG[/s]\n\t[s]sounds/cat.wav[/s] [s]gone.wav[/s]\n";
  for (bool zipped : {true, false}) {
    CliFolder dir;
    dir.write("pics.dsl", dsl);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"Cat.PNG", "png bytes"}, {"sounds/cat.wav", "RIFF wav"}, {"unused.png", "x"}};
    if (zipped) {
      writeZip(dir.file("pics.dsl.files.zip"), files);
    } else {
      for (const auto& [name, bytes] : files) {
        fs::create_directories(fs::path(dir.file("pics.dsl.files/" + name)).parent_path());
        dir.write("pics.dsl.files/" + name, bytes);
      }
    }
    const CliResult r = dir.run({"import", "dsl", "pics.dsl", "d.pvm"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("kept 2 pictures and sounds in d.res\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("left out 1 "), std::string::npos) << r.out;
    EXPECT_EQ(dir.run({"meaning", "d.pvm", "0"}).out,
              "@cat\r\n- a pet\r\n" + kMedia + "cat.png\r\n" + kMedia + "sounds/cat.wav");
    EXPECT_EQ(dir.read("d.res/cat.png"), "png bytes");
    EXPECT_EQ(dir.read("d.res/sounds/cat.wav"), "RIFF wav");
    EXPECT_FALSE(fs::exists(dir.file("d.res/unused.png")));
  }
}

TEST(ResourceImport, MddResourcesThatEntriesNameAreKept) {
  CliFolder dir;
  MdictFiles mdx;
  mdx.records = {{"cat",
                  "a pet<img src=\"/img/Cat.png\"><a href=\"sound://snd/cat.mp3\">"
                  "<img src=\"speaker.png\"></a><img src=\"missing.png\">" +
                      std::string(1, '\0')}};
  dir.write("pets.mdx", mdx.build());
  MdictFiles mdd;
  mdd.version2 = false;
  mdd.compression = 0;
  mdd.resources = true;
  mdd.attributes = "Title=\"res\"";
  mdd.records = {{MdictFiles::utf16("\\img\\cat.png"), "png bytes"},
                 {MdictFiles::utf16("\\snd\\cat.mp3"), "mp3 bytes"},
                 {MdictFiles::utf16("\\speaker.png"), "icon"},
                 {MdictFiles::utf16("\\unused.png"), "x"}};
  dir.write("pets.mdd", mdd.build());
  const CliResult r = dir.run({"import", "mdict", "pets.mdx", "d.pvm"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "0"}).out,
            "@cat\r\n- a pet\r\n" + kMedia + "img/cat.png\r\n" + kMedia + "snd/cat.mp3");
  EXPECT_EQ(dir.read("d.res/img/cat.png"), "png bytes");
  EXPECT_EQ(dir.read("d.res/snd/cat.mp3"), "mp3 bytes");
  EXPECT_FALSE(fs::exists(dir.file("d.res/unused.png")));
  EXPECT_FALSE(fs::exists(dir.file("d.res/speaker.png")));

  // A failed import leaves no resource folder behind, not even a temporary one.
  dir.write("pets.mdx", mdx.build().substr(0, 200));
  EXPECT_EQ(dir.run({"import", "mdict", "pets.mdx", "e.pvm"}).status, 1);
  for (const auto& entry : fs::directory_iterator(dir.file(".")))
    EXPECT_EQ(entry.path().filename().string().find(".importing"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.file("e.res")));
}

TEST(ResourceImport, StardictPicturesAndSoundsComeFromRes) {
  CliFolder dir;
  StardictFiles book;
  book.entries = {{"cat", std::string("h") + "a pet<img src=\"Cat.png\"><img src=\"../x.png\">" +
                              '\0' + "r" + "snd:cat.wav\nimg:none.png" + '\0'}};
  book.write(dir.file("pets"));
  fs::create_directories(dir.file("res"));
  dir.write("res/Cat.png", "png bytes");
  dir.write("res/cat.wav", "wav bytes");
  dir.write("x.png", "outside");
  const CliResult r = dir.run({"import", "stardict", "pets.ifo", "d.pvm"});
  ASSERT_EQ(r.status, 0) << r.err;
  // ../x.png lies outside res/ and none.png is not there: both are left out, and counted.
  EXPECT_NE(r.out.find("left out 2 "), std::string::npos) << r.out;
  EXPECT_EQ(dir.run({"meaning", "d.pvm", "0"}).out,
            "@cat\r\n- a pet\r\n" + kMedia + "cat.png\r\n" + kMedia + "cat.wav");
  EXPECT_EQ(dir.read("d.res/cat.png"), "png bytes");
  EXPECT_EQ(dir.read("d.res/cat.wav"), "wav bytes");
}

TEST(ResourceImport, ExportKeepsTheResourceFolderAndImportTsvTakesItBack) {
  CliFolder dir;
  dir.write("pics.dsl", "cat\n\t[m1]a pet [s]cat.png[/s] [s]snd/cat.wav[/s]\n");
  fs::create_directories(dir.file("pics.dsl.files/snd"));
  dir.write("pics.dsl.files/cat.png", "png bytes");
  dir.write("pics.dsl.files/snd/cat.wav", "wav bytes");
  ASSERT_EQ(dir.run({"import", "dsl", "pics.dsl", "d.pvm"}).status, 0);
  dir.write("secret", "not the dictionary's");
  fs::create_symlink(dir.file("secret"), dir.file("d.res/link.png"));
  fs::create_directory_symlink(dir.file("."), dir.file("d.res/up"));

  // On stdout the TSV has no place for them: a note says so.
  CliResult r = dir.run({"export", "d.pvm"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("d.res: 2 pictures and sounds are not in the output"), std::string::npos)
      << r.err;

  r = dir.run({"export", "d.pvm", "-o", "out.tsv"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "exported 1 entry to out.tsv\ncopied 2 pictures and sounds to out.res\n"
            "left out 2 links and special files of d.res\n");
  EXPECT_EQ(dir.read("out.res/snd/cat.wav"), "wav bytes");
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("out.res/link.png"))));
  // render shows them as the window does.
  const std::string page = dir.run({"render", "d.pvm", "cat"}).out;
  EXPECT_NE(page.find("/d.res/cat.png\""), std::string::npos) << page;
  EXPECT_NE(page.find("<a href=\"sound:snd/cat.wav\">"), std::string::npos) << page;
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("out.res/up"))));

  // Existing targets: refused without --force, links and the dictionary's own files always.
  dir.write("out.res/cat.png", "mine");
  fs::remove(dir.file("out.tsv"));
  r = dir.run({"export", "d.pvm", "-o", "out.tsv"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(": exists already (--force replaces it)"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir.file("out.tsv")));  // nothing written before the refusal
  EXPECT_EQ(dir.run({"export", "d.pvm", "-o", "out.tsv", "--force"}).status, 0);
  EXPECT_EQ(dir.read("out.res/cat.png"), "png bytes");
  fs::create_symlink(dir.file("secret"), dir.file("link.tsv"));
  EXPECT_NE(dir.run({"export", "d.pvm", "-o", "link.tsv", "--force"}).err.find("is a link"),
            std::string::npos);
  EXPECT_EQ(dir.read("secret"), "not the dictionary's");
  EXPECT_NE(dir.run({"export", "d.pvm", "-o", "d.pdw", "--force"})
                .err.find("is a file of the dictionary being exported"),
            std::string::npos);
  // Beside the dictionary the TSV shares its resource folder: nothing to copy.
  EXPECT_EQ(dir.run({"export", "d.pvm", "-o", "d.tsv"}).out, "exported 1 entry to d.tsv\n");

  // The round trip: the entry names the same files, which are in the new dictionary's folder.
  r = dir.run({"import", "tsv", "out.tsv", "e.pvm"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(dir.run({"meaning", "e.pvm", "0"}).out, dir.run({"meaning", "d.pvm", "0"}).out);
  EXPECT_EQ(dir.read("e.res/snd/cat.wav"), "wav bytes");
  EXPECT_FALSE(fs::exists(dir.file("e.res/link.png")));
  // A resource folder of no dictionary is not replaced by an import of that name.
  r = dir.run({"import", "tsv", "out.tsv", "out.pvm"});
  EXPECT_NE(r.err.find("out.res exists and belongs to no dictionary"), std::string::npos) << r.err;
  EXPECT_EQ(dir.read("out.res/snd/cat.wav"), "wav bytes");
}

}  // namespace
}  // namespace lexora::test
