#include "importers/mdict_reader.h"

#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "importers/markup_from_tags.h"
#include "importers/markup_text.h"
#include "importers/mdict_file.h"
#include "importers/resource_store.h"
#include "importers/source_outline.h"
#include "importers/text_encoding.h"
#include "importers/xml_library.h"

namespace lexora::importers {
namespace {

constexpr std::string_view kLinkMark = "@@@LINK=";

std::string_view trimEnd(std::string_view t) {
  while (!t.empty() && (t.back() == '\0' || t.back() == '\r' || t.back() == '\n' ||
                        t.back() == ' ' || t.back() == '\t'))
    t.remove_suffix(1);
  return t;
}

// The key as a lookup compares it with StripKey, without punctuation and blanks; empty when
// it has no punctuation (blanks alone are typed as they are).
std::string strippedKey(std::string_view key) {
  std::string out;
  bool punctuation = false;
  for (char c : key) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80 && !std::isalnum(u)) {
      punctuation = punctuation || c != ' ';
      continue;
    }
    out += c;
  }
  return punctuation ? out : std::string();
}

std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The text of a header's HTML: tags dropped, the common entities decoded, blanks collapsed.
std::string textOfHtml(std::string_view html) {
  std::string out;
  for (size_t i = 0; i < html.size(); ++i) {
    const char c = html[i];
    if (c == '<') {
      const size_t close = html.find('>', i);
      if (close == std::string_view::npos) break;
      i = close;
      out += ' ';
      continue;
    }
    if (c == '&') {
      static const std::pair<std::string_view, std::string_view> kEntities[] = {
          {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}};
      bool decoded = false;
      for (const auto& [entity, text] : kEntities) {
        if (html.compare(i, entity.size(), entity) == 0) {
          out += text;
          i += entity.size() - 1;
          decoded = true;
          break;
        }
      }
      if (decoded) continue;
    }
    out += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
  }
  std::string collapsed;
  for (char c : out) {
    if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed += c;
  }
  while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
  return collapsed;
}

// A headword line and one meaning line that links to `target`.
std::string linkEntry(std::string_view headword, std::string_view target) {
  std::string out = "@";
  for (char c : headword) out += c == '|' ? '/' : c;
  out += "\r\n- See ";
  appendLinkWord(out, target);
  return out;
}

// Entries in the order of their first key; one key's records merge into one entry.
class Entries {
 public:
  Entries(bool caseSensitive, EntrySink& sink) : caseSensitive_(caseSensitive), sink_(sink) {}

  bool has(const std::string& key) const { return index_.count(fold(key)) != 0; }

  // `alias` shows the entry of `key` as it is.
  void copy(const std::string& alias, const std::string& key, std::string where) {
    const auto it = index_.find(fold(key));
    if (it == index_.end()) return;
    std::string meaning = pending_[it->second].meaning;
    add(alias, std::move(meaning), std::move(where));
  }

  void add(const std::string& key, std::string&& meaning, std::string where) {
    const auto [it, added] = index_.emplace(fold(key), pending_.size());
    if (added) {
      pending_.push_back({key, std::move(meaning), std::move(where)});
      return;
    }
    const size_t lineEnd = meaning.find("\r\n");
    if (lineEnd == std::string::npos) return;
    std::string& into = pending_[it->second].meaning;
    into += "\r\n";
    into.append(meaning, lineEnd, std::string::npos);
  }

  void flush() {
    for (Pending& p : pending_) sink_.add(p.key, std::move(p.meaning), p.where);
    pending_.clear();
  }

 private:
  std::string fold(const std::string& key) const { return caseSensitive_ ? key : lowerAscii(key); }

  struct Pending {
    std::string key;
    std::string meaning;
    std::string where;
  };
  bool caseSensitive_;
  EntrySink& sink_;
  std::map<std::string, size_t> index_;
  std::vector<Pending> pending_;
};

// A resource's name as the .mdd keys and the entries' links compare: "\\Img\\A.png",
// "/img/a.png" and "img/a.png" are one.
std::string resourceKey(std::string_view name) {
  if (name.rfind("sound://", 0) == 0) name.remove_prefix(8);
  std::string out;
  for (char c : name) {
    if (c == '\\') c = '/';
    if (c == '/' && out.empty()) continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

// The resources of NAME.mdd, NAME.1.mdd, NAME.2.mdd, ...
class MddResources {
 public:
  MddResources(const std::string& mdxFile, ResourceStore* store, SourceInfo& info, EntrySink& sink)
      : store_(store), info_(info) {
    if (store == nullptr) return;
    const std::string base = mdxFile.substr(0, mdxFile.size() - 4);
    std::error_code ec;
    for (int n = 0; n < 100; ++n) {
      const std::string file = n == 0 ? base + ".mdd" : base + "." + std::to_string(n) + ".mdd";
      if (!std::filesystem::is_regular_file(file, ec)) {
        if (n > 0) break;
        continue;
      }
      auto mdd = std::make_unique<MdictFile>();
      if (Status s = mdd->open(file, true); !s.isOk()) {
        sink.skip(s.message() + ": its resources are left out");
        continue;
      }
      for (size_t k = 0; k < mdd->keys().size(); ++k)
        index_.emplace(resourceKey(mdd->keys()[k].text), std::make_pair(files_.size(), k));
      files_.push_back(std::move(mdd));
    }
  }

  // The media line for a file an entry names, copied into the store first; empty when there
  // is no such resource.
  std::string line(std::string_view name) {
    const std::string key = resourceKey(name);
    const auto it = index_.find(key);
    if (it == index_.end() || store_ == nullptr) {
      ++info_.resourcesSkipped;
      return {};
    }
    if (!store_->has(key)) {
      std::string bytes;
      if (!files_[it->second.first]->record(it->second.second, bytes).isOk() ||
          !store_->put(key, bytes).isOk()) {
        ++info_.resourcesSkipped;
        return {};
      }
    }
    return ResourceStore::mediaLine(key);
  }

 private:
  ResourceStore* store_;
  SourceInfo& info_;
  std::vector<std::unique_ptr<MdictFile>> files_;
  std::map<std::string, std::pair<size_t, size_t>> index_;
};

}  // namespace

Status readMdictSource(const std::string& mdxFile, EntrySink& sink, SourceInfo& info,
                       ResourceStore* resources) {
  MdictFile mdx;
  if (Status s = mdx.open(mdxFile, false); !s.isOk()) return s;
  const MdictHeader& header = mdx.header();
  if (!header.title.empty()) info.title = header.title;
  if (!header.description.empty()) {
    if (std::string plain = textOfHtml(header.description); !plain.empty())
      info.description = plain;
  }
  info.shape = header.html ? "MDict HTML" : "MDict text";

  static_cast<void>(xmlLibrary());  // sets up its parser before the threads parse
  MddResources mdd(mdxFile, resources, info, sink);
  Entries entries(header.keyCaseSensitive, sink);
  const auto& keys = mdx.keys();
  std::string bytes;
  std::string text;
  for (size_t i = 0; i < keys.size(); ++i) {
    const std::string where = mdxFile + ": key " + std::to_string(i + 1);
    if (Status s = mdx.record(i, bytes); !s.isOk()) {
      sink.skip(where + ": skipped: " + s.message());
      continue;
    }
    if (header.charset == "UTF-8") {
      text = bytes;
    } else {
      if (Status s = convertToUtf8(bytes, header.charset.c_str(), text); !s.isOk()) {
        sink.skip(where + ": skipped: " + s.message());
        continue;
      }
    }
    const std::string& key = keys[i].text;
    const std::string_view record = trimEnd(text);
    if (record.rfind(kLinkMark, 0) == 0) {
      const std::string_view target = trimEnd(record.substr(kLinkMark.size()));
      if (!target.empty() && target != key) entries.add(key, linkEntry(key, target), where);
      continue;
    }
    SourceOutline outline;
    outline.setMediaResolver([&mdd](std::string_view name) { return mdd.line(name); });
    if (header.html) {
      readTagged(record, TagDialect::Html, outline);
    } else {
      readPlainText(record, outline);
    }
    entries.add(key, outline.markupOf(key), where);
    if (i % 1024 == 1023 && !sink.progress(i + 1, keys.size())) return Status::ok();
  }
  // With StripKey a lookup ignores punctuation: "e-mail" is found as "email" too.
  if (header.stripKey) {
    for (size_t i = 0; i < keys.size(); ++i) {
      const std::string stripped = strippedKey(keys[i].text);
      if (!stripped.empty() && !entries.has(stripped))
        entries.copy(stripped, keys[i].text, mdxFile + ": key " + std::to_string(i + 1));
    }
  }
  entries.flush();
  sink.progress(keys.size(), keys.size());
  return Status::ok();
}

}  // namespace lexora::importers
