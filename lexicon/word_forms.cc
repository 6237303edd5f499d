#include "lexicon/word_forms.h"

#include <iconv.h>
#include <sys/mman.h>
#include <unistd.h>

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "lexicon/word_list_subset.h"
#include "util/standard_utf8.h"
#include "util/text_file.h"

namespace lexora {
namespace {

bool readable(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

bool isUtf8Name(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  });
  return name.empty() || name == "UTF-8" || name == "UTF8";
}

// Converts with iconv; false when a character has no place in the target encoding.
bool convert(const std::string& from, const std::string& to, const std::string& text,
             std::string& out) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  // iconv_open's failure value is (iconv_t)-1.
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;  // NOLINT(performance-no-int-to-ptr)
  out.assign(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* o = out.data();
  size_t outLeft = out.size();
  const size_t done = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (done == static_cast<size_t>(-1)) return false;
  out.resize(out.size() - outLeft);
  return true;
}

// A file of its own for the text, with no name on disk: closed with the returned descriptor.
int memoryFile(const std::string& text) {
  const int fd = memfd_create("lexora-word-list", MFD_CLOEXEC);
  if (fd < 0) return -1;
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n <= 0) {
      ::close(fd);
      return -1;
    }
    written += static_cast<size_t>(n);
  }
  return fd;
}

}  // namespace

std::unique_ptr<WordForms> WordForms::openForWord(const HunspellFiles& files,
                                                  std::u16string_view word) {
  std::string aff, dic;
  if (!readWholeFile(files.aff, aff) || !readWholeFile(files.dic, dic)) return nullptr;
  const std::optional<std::string> subset = wordListSubset(dic, toUtf8(word), readAffixReach(aff));
  const int fd = subset ? memoryFile(*subset) : -1;
  if (fd < 0) return open(files);
  // Hunspell reads files by name; a descriptor's name under /proc serves when /proc is there.
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (::access(path.c_str(), R_OK) != 0) {
    ::close(fd);
    return open(files);
  }
  auto hunspell = std::make_unique<Hunspell>(files.aff.c_str(), path.c_str());
  ::close(fd);
  std::unique_ptr<WordForms> forms(new WordForms(std::move(hunspell), files.name));
  forms->onlyWord_ = std::u16string(word);
  return forms;
}

std::unique_ptr<WordForms> WordForms::open(const HunspellFiles& files) {
  if (!readable(files.aff) || !readable(files.dic)) return nullptr;
  auto hunspell = std::make_unique<Hunspell>(files.aff.c_str(), files.dic.c_str());
  return std::unique_ptr<WordForms>(new WordForms(std::move(hunspell), files.name));
}

WordForms::WordForms(std::unique_ptr<Hunspell> hunspell, std::string name)
    : hunspell_(std::move(hunspell)), name_(std::move(name)) {
  const std::string encoding = hunspell_->get_dict_encoding();
  if (!isUtf8Name(encoding)) encoding_ = encoding;
}

WordForms::~WordForms() = default;

bool WordForms::encode(std::u16string_view word, std::string& out) const {
  const std::string utf8 = toUtf8(word);
  if (encoding_.empty()) {
    out = utf8;
    return true;
  }
  return convert("UTF-8", encoding_, utf8, out);
}

std::u16string WordForms::decode(const std::string& text) const {
  if (encoding_.empty()) return fromUtf8(text);
  std::string utf8;
  return convert(encoding_, "UTF-8", text, utf8) ? fromUtf8(utf8) : std::u16string();
}

std::vector<std::u16string> WordForms::baseForms(std::u16string_view word) {
  std::string encoded;
  // Hunspell reads words up to a limit of its own; longer text is no word form anyway.
  if (word.empty() || word.size() > 100 || !encode(word, encoded)) return {};
  std::vector<std::u16string> out;
  for (const std::string& stem : hunspell_->stem(encoded)) {
    std::u16string base = decode(stem);
    if (base.empty() || base == word) continue;
    if (std::find(out.begin(), out.end(), base) == out.end()) out.push_back(std::move(base));
  }
  return out;
}

bool WordForms::knows(std::u16string_view word) {
  std::string encoded;
  if (word.empty() || word.size() > 100 || !encode(word, encoded)) return false;
  return hunspell_->spell(encoded);
}

}  // namespace lexora
