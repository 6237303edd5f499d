#include "lexicon/word_forms.h"

#include <iconv.h>

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "util/standard_utf8.h"

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

}  // namespace

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
