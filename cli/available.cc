// lexora-cli available [--in DIR]...: the dictd and StarDict dictionaries already on this
// machine, and the dictd, StarDict, DSL and MDict ones in $XDG_DATA_HOME/lexora/sources and the
// folders given, with their titles and sizes, ready for `lexora-cli install`.

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <system_error>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "importers/dictd_database.h"
#include "importers/dictd_markup.h"
#include "importers/dsl_reader.h"
#include "importers/dsl_source.h"
#include "importers/install_folder.h"
#include "importers/mdict_file.h"
#include "importers/stardict_reader.h"

namespace lexora::cli {
namespace {

namespace fs = std::filesystem;

struct Found {
  std::string kind;
  std::string path;
  std::string title;
  uintmax_t bytes = 0;
};

std::string sizeText(uintmax_t bytes) {
  char text[32];
  if (bytes >= 1000000) {
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.0f kB", static_cast<double>(bytes) / 1e3);
  }
  return text;
}

uintmax_t sizeOf(const fs::path& p) {
  std::error_code ec;
  const uintmax_t n = fs::file_size(p, ec);
  return ec ? 0 : n;
}

// The title in a database's 00-database-short entry, read without inflating the whole text.
std::string dictdTitle(const fs::path& index, const std::string& textFile) {
  std::ifstream in(index, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("00-database-short\t", 0) != 0 && line.rfind("00databaseshort\t", 0) != 0)
      continue;
    const auto fields = importers::parseDictdIndex(line);
    if (fields.lines.empty() || fields.lines[0].length > 4096) return {};
    gzFile f = gzopen(textFile.c_str(), "rb");
    if (f == nullptr) return {};
    std::string text(fields.lines[0].length, '\0');
    int got = -1;
    if (gzseek(f, static_cast<z_off_t>(fields.lines[0].offset), SEEK_SET) >= 0) {
      got = gzread(f, text.data(), static_cast<unsigned>(text.size()));
    }
    gzclose(f);
    if (got < 0) return {};
    text.resize(static_cast<size_t>(got));
    return importers::dictdShortTitle(text);
  }
  return {};
}

void findDictd(const fs::path& folder, std::vector<Found>& out) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path p = it->path();
    if (p.extension() != ".index") continue;
    const auto text = importers::dictdTextFileFor(p.string());
    if (!text) continue;
    out.push_back({"dictd", p.string(), dictdTitle(p, *text), sizeOf(p) + sizeOf(*text)});
  }
}

// Calls `visit` with every entry below `folder`, skipping what cannot be read.
template <typename Visit>
void forEachEntryUnder(const fs::path& folder, Visit visit) {
  std::error_code ec;
  for (fs::recursive_directory_iterator
           it(folder, fs::directory_options::skip_permission_denied, ec),
       end;
       !ec && it != end; it.increment(ec)) {
    visit(it->path());
  }
}

void findStardict(const fs::path& folder, std::vector<Found>& out) {
  forEachEntryUnder(folder, [&](const fs::path& p) {
    if (p.extension() != ".ifo") return;
    std::ifstream in(p, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    importers::StardictIfo ifo;
    if (!importers::parseStardictIfo(text, ifo).isOk()) return;
    uintmax_t bytes = 0;
    const std::string base = p.string().substr(0, p.string().size() - 4);
    for (const char* e : {".ifo", ".idx", ".idx.gz", ".dict", ".dict.dz", ".syn"})
      bytes += sizeOf(base + e);
    out.push_back({"StarDict", p.string(), ifo.bookname, bytes});
  });
}

// The start of a file, inflated when it is gzip (a .dsl.dz).
std::string fileStart(const fs::path& p, size_t bytes) {
  gzFile f = gzopen(p.c_str(), "rb");
  if (f == nullptr) return {};
  std::string text(bytes, '\0');
  const int got = gzread(f, text.data(), static_cast<unsigned>(text.size()));
  gzclose(f);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void findDsl(const fs::path& folder, std::vector<Found>& out) {
  forEachEntryUnder(folder, [&](const fs::path& entry) {
    const std::string p = entry.string();
    const std::string base = importers::dslBaseName(p);
    if (base.empty() || (base.size() >= 5 && base.compare(base.size() - 5, 5, "_abrv") == 0))
      return;
    importers::DslText dsl;
    std::string start = fileStart(p, 16384);
    // A cut in the middle of a UTF-16 unit would shift the rest.
    start.resize(start.size() & ~size_t{1});
    if (!importers::parseDslText(start, dsl).isOk()) return;
    out.push_back({"DSL", p, dsl.name, sizeOf(p)});
  });
}

void findMdict(const fs::path& folder, std::vector<Found>& out) {
  forEachEntryUnder(folder, [&](const fs::path& p) {
    if (p.extension() != ".mdx") return;
    importers::MdictFile mdx;
    if (!mdx.openHeader(p.string(), false).isOk()) return;
    uintmax_t bytes = sizeOf(p);
    const std::string base = p.string().substr(0, p.string().size() - 4);
    bytes += sizeOf(base + ".mdd");
    std::error_code ec;
    for (int n = 1; fs::exists(base + "." + std::to_string(n) + ".mdd", ec); ++n)
      bytes += sizeOf(base + "." + std::to_string(n) + ".mdd");
    out.push_back({"MDict", p.string(), mdx.header().title, bytes});
  });
}

// Takes every "--in DIR" out of `args`.
std::vector<std::string> takeFolders(std::vector<std::string>& args, std::string& why) {
  std::vector<std::string> folders;
  for (size_t i = 0; i < args.size();) {
    if (args[i] != "--in") {
      ++i;
      continue;
    }
    if (i + 1 >= args.size()) {
      why = "--in needs a folder";
      break;
    }
    folders.push_back(args[i + 1]);
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
               args.begin() + static_cast<std::ptrdiff_t>(i + 2));
  }
  return folders;
}

}  // namespace

int runAvailable(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  std::vector<std::string> rest = args;
  std::vector<std::string> folders = takeFolders(rest, why);
  if (!why.empty() || !parseArguments(rest, {}, 0, 0, why))
    return usageError(io, kAvailableUsage, why);
  std::vector<Found> found;
  findDictd("/usr/share/dictd", found);
  findStardict("/usr/share/stardict/dic", found);
  const std::string home = importers::homeFolder();
  if (!home.empty()) findStardict(fs::path(home) / ".stardict" / "dic", found);
  folders.insert(folders.begin(), importers::userSourceFolder());
  for (const std::string& folder : folders) {
    findDictd(folder, found);
    findStardict(folder, found);
    findDsl(folder, found);
    findMdict(folder, found);
  }
  if (found.empty()) {
    io.out << "no dictd, StarDict, DSL or MDict dictionaries found in /usr/share/dictd, "
              "/usr/share/stardict/dic, ~/.stardict/dic or "
           << importers::userSourceFolder() << "\n";
    return kExitOk;
  }
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return a.kind != b.kind ? a.kind < b.kind : a.path < b.path;
  });
  for (const Found& f : found) {
    io.out << f.kind << "  " << f.path << "  \"" << f.title << "\"  " << sizeText(f.bytes) << "\n";
  }
  return kExitOk;
}

}  // namespace lexora::cli
