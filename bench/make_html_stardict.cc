// Writes a StarDict dictionary of N generated HTML entries for the import benchmark:
//   lexora-make-html-stardict FOLDER [N]  ->  FOLDER/html.ifo, html.idx, html.dict
// Each entry has a headline with a transcription, a word class, a numbered list of two to five
// senses with links and entities, and an example.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string wordOf(uint32_t i) {
  static const char* syllables[] = {"ka", "lo", "mi", "ne", "ru", "sa",
                                    "ti", "vo", "ze", "pa", "do", "gu"};
  std::string w;
  uint32_t v = i;
  do {
    w += syllables[v % 12];
    v /= 12;
  } while (v != 0);
  return w + std::to_string(i % 97);
}

void bigEndian(std::string& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out += static_cast<char>((v >> s) & 0xFF);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lexora-make-html-stardict FOLDER [N]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const uint32_t n = argc > 2 ? static_cast<uint32_t>(std::stoul(argv[2])) : 100000;
  std::vector<std::string> words(n);
  for (uint32_t i = 0; i < n; ++i) words[i] = wordOf(i);
  // The index is sorted ASCII-case-insensitively; the generated words are lower case.
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  std::string dict, idx;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    std::string e = "<b>" + w + "</b> <span class=\"tr\">[" + w.substr(0, 3) + "&#712;" +
                    w.substr(3) + "]</span><br><i>n.</i><ol>";
    const int senses = 2 + static_cast<int>(i % 4);
    for (int s = 0; s < senses; ++s) {
      e += "<li><font color=\"#333\">the " + std::to_string(s + 1) + "th sense of " + w +
           " &amp; its kin, see <a href=\"bword://" + words[(i * 7 + s) % words.size()] + "\">" +
           words[(i * 7 + s) % words.size()] + "</a></font></li>";
    }
    e += "</ol><div class=\"ex\">a " + w + " in a sentence &mdash; un " + w +
         " dans une phrase</div>";
    idx += w;
    idx += '\0';
    bigEndian(idx, static_cast<uint32_t>(dict.size()));
    bigEndian(idx, static_cast<uint32_t>(e.size()));
    dict += e;
  }
  std::ofstream(folder + "/html.dict", std::ios::binary) << dict;
  std::ofstream(folder + "/html.idx", std::ios::binary) << idx;
  std::ofstream(folder + "/html.ifo", std::ios::binary)
      << "StarDict's dict ifo file\nversion=2.4.2\nbookname=Generated HTML\nwordcount="
      << words.size() << "\nidxfilesize=" << idx.size() << "\nsametypesequence=h\n";
  std::printf("%zu entries, %zu bytes of HTML\n", words.size(), dict.size());
  return 0;
}
