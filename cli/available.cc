// lexora-cli available: the dictd and StarDict dictionaries already on this machine, with their
// titles and sizes, ready for `lexora-cli install`.

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
#include "importers/install_folder.h"
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

void findStardict(const fs::path& folder, std::vector<Found>& out) {
  std::error_code ec;
  for (fs::recursive_directory_iterator
           it(folder, fs::directory_options::skip_permission_denied, ec),
       end;
       !ec && it != end; it.increment(ec)) {
    const fs::path p = it->path();
    if (p.extension() != ".ifo") continue;
    std::ifstream in(p, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    importers::StardictIfo ifo;
    if (!importers::parseStardictIfo(text, ifo).isOk()) continue;
    uintmax_t bytes = 0;
    const std::string base = p.string().substr(0, p.string().size() - 4);
    for (const char* e : {".ifo", ".idx", ".idx.gz", ".dict", ".dict.dz", ".syn"})
      bytes += sizeOf(base + e);
    out.push_back({"StarDict", p.string(), ifo.bookname, bytes});
  }
}

}  // namespace

int runAvailable(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  if (!parseArguments(args, {}, 0, 0, why)) return usageError(io, kAvailableUsage, why);
  std::vector<Found> found;
  findDictd("/usr/share/dictd", found);
  findStardict("/usr/share/stardict/dic", found);
  const std::string home = importers::homeFolder();
  if (!home.empty()) findStardict(fs::path(home) / ".stardict" / "dic", found);
  if (found.empty()) {
    io.out << "no dictd or StarDict dictionaries found in /usr/share/dictd, "
              "/usr/share/stardict/dic or ~/.stardict/dic\n";
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
