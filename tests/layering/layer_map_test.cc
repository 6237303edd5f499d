// The layer map: the "may include" column of README.md's "Architecture" table names the
// folders whose headers ("folder/file.h") the sources of each folder may include, besides its
// own ("any" for the tests and benchmarks). Every such include in the tree must follow it, and
// every folder with sources must have a row.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace lexora {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = LEXORA_SOURCE_DIR;

std::vector<std::string> cellsOf(const std::string& row) {
  std::vector<std::string> cells;
  std::stringstream in(row);
  std::string cell;
  std::getline(in, cell, '|');  // before the first bar
  while (std::getline(in, cell, '|')) cells.push_back(cell);
  return cells;
}

// folder -> the folders its sources may include, besides its own.
using LayerMap = std::map<std::string, std::set<std::string>>;

// The rows of the table whose header has a "may include" column.
LayerMap readLayerMap(std::string* error) {
  std::ifstream readme(kRoot / "README.md");
  LayerMap map;
  int column = -1;
  const std::regex folder("^\\s*`([a-z_]+)/`\\s*$");
  const std::regex name("`([a-z_]+)/?`");
  for (std::string row; std::getline(readme, row);) {
    if (row.rfind('|', 0) != 0) {
      if (column >= 0) break;  // the end of the table
      continue;
    }
    const std::vector<std::string> cells = cellsOf(row);
    if (column < 0) {
      for (size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].find("may include") != std::string::npos) column = static_cast<int>(i);
      }
      continue;
    }
    std::smatch m;
    if (cells.size() <= static_cast<size_t>(column) || !std::regex_match(cells[0], m, folder)) {
      continue;  // the line under the header
    }
    std::set<std::string>& allowed = map[m[1]];
    const std::string& cell = cells[column];
    if (cell.find("any") != std::string::npos) allowed.insert("any");
    for (auto it = std::sregex_iterator(cell.begin(), cell.end(), name);
         it != std::sregex_iterator(); ++it) {
      allowed.insert((*it)[1]);
    }
  }
  if (map.empty()) *error = "README.md has no table with a \"may include\" column";
  return map;
}

bool isSource(const fs::path& path) {
  return path.extension() == ".cc" || path.extension() == ".h";
}

TEST(LayerMap, EveryIncludeFollowsTheReadmeTable) {
  std::string error;
  const LayerMap map = readLayerMap(&error);
  ASSERT_TRUE(error.empty()) << error;

  const std::regex include("^\\s*#\\s*include\\s*\"([a-z_]+)/[^\"]*\"");
  std::vector<std::string> faults;
  for (const fs::directory_entry& top : fs::directory_iterator(kRoot)) {
    const std::string folder = top.path().filename().string();
    if (!top.is_directory() || folder.starts_with('.') || folder.starts_with("build")) continue;
    const auto row = map.find(folder);
    for (const fs::directory_entry& file : fs::recursive_directory_iterator(top)) {
      if (!file.is_regular_file() || !isSource(file.path())) continue;
      const std::string name = fs::relative(file.path(), kRoot).string();
      if (row == map.end()) {
        faults.push_back(name + ": the folder " + folder + "/ has no row in the layer map");
        break;
      }
      std::ifstream in(file.path());
      int number = 0;
      for (std::string line; std::getline(in, line);) {
        ++number;
        std::smatch m;
        if (!std::regex_search(line, m, include)) continue;
        const std::string target = m[1];
        if (target == folder || row->second.contains(target) || row->second.contains("any")) {
          continue;
        }
        if (!fs::is_directory(kRoot / target)) continue;  // not one of ours
        faults.push_back(name + ":" + std::to_string(number) + ": " + line + "  (" + folder +
                         "/ may not include " + target + "/)");
      }
    }
  }
  std::string text;
  for (const std::string& fault : faults) text += fault + "\n";
  EXPECT_TRUE(faults.empty()) << "includes against README.md's layer map:\n" << text;
}

}  // namespace
}  // namespace lexora
