// The layer table and the include check (see include_layers.h).
#include "tests/tree/include_layers.h"

#include <fstream>
#include <functional>
#include <sstream>

namespace {

// The path of a line `#include "path"` (blanks allowed around "#"); false
// for any other line.
bool QuotedInclude(const std::string& line, std::string* path) {
  size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos || line[at] != '#') return false;
  at = line.find_first_not_of(" \t", at + 1);
  const std::string directive = "include";
  if (at == std::string::npos || line.compare(at, directive.size(), directive) != 0) return false;
  at = line.find_first_not_of(" \t", at + directive.size());
  if (at == std::string::npos || line[at] != '"') return false;
  const size_t end = line.find('"', at + 1);
  if (end == std::string::npos) return false;
  *path = line.substr(at + 1, end - at - 1);
  return true;
}

std::string TopFolder(const std::string& path) { return path.substr(0, path.find('/')); }

std::set<std::string> TopFolders(const LayerTable& table) {
  std::set<std::string> tops;
  for (const auto& row : table.reach) tops.insert(TopFolder(row.first));
  return tops;
}

}  // namespace

LayerTable ParseLayerTable(const std::string& text, std::vector<std::string>* errors) {
  std::map<std::string, std::vector<std::string>> rows;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string folder, below;
    if (!(words >> folder)) continue;
    if (rows.count(folder))
      errors->push_back("line " + std::to_string(number) + ": " + folder + " has two rows");
    std::vector<std::string>& row = rows[folder];
    while (words >> below) row.push_back(below);
  }

  // Depth-first walk from each folder; a folder met again on the current
  // path closes a cycle.
  LayerTable table;
  std::map<std::string, int> state;  // 1 on the path, 2 done
  std::function<void(const std::string&)> visit = [&](const std::string& folder) {
    state[folder] = 1;
    std::set<std::string>& reach = table.reach[folder];
    for (const std::string& below : rows[folder]) {
      if (!rows.count(below)) {
        errors->push_back(folder + " names " + below + ", which has no row");
        continue;
      }
      if (state[below] == 1) {
        errors->push_back("cycle: " + folder + " and " + below + " include each other");
        continue;
      }
      if (state[below] == 0) visit(below);
      reach.insert(below);
      reach.insert(table.reach[below].begin(), table.reach[below].end());
    }
    state[folder] = 2;
  };
  for (const auto& row : rows) {
    if (state[row.first] == 0) visit(row.first);
  }

  // A folder holds the folders inside it: one inside a folder of the table
  // may not include a folder that includes the outer one, or the folders
  // would include each other.
  auto inside = [](const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
  };
  for (const auto& row : table.reach) {
    for (const auto& outer : table.reach) {
      if (!inside(row.first, outer.first)) continue;
      for (const std::string& below : row.second) {
        if (below == outer.first || inside(below, outer.first)) continue;
        if (table.reach.at(below).count(outer.first)) {
          errors->push_back("cycle: " + row.first + " lies in " + outer.first + " but includes " +
                            below + ", which includes " + outer.first);
        }
      }
    }
  }
  return table;
}

std::string LayerOf(const LayerTable& table, const std::string& path) {
  if (table.reach.count(path)) return path;  // a row of one file
  std::string best;
  for (const auto& row : table.reach) {
    const std::string& folder = row.first;
    if (path.compare(0, folder.size(), folder) == 0 && path.size() > folder.size() &&
        path[folder.size()] == '/' && folder.size() > best.size()) {
      best = folder;
    }
  }
  return best;
}

void CheckFileIncludes(const LayerTable& table, const std::string& path, const std::string& text,
                       std::vector<std::string>* errors) {
  const std::string from = LayerOf(table, path);
  if (from.empty()) {
    errors->push_back(path + ": its folder has no row in the layer table");
    return;
  }
  const std::set<std::string> tops = TopFolders(table);
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::string included;
    if (!QuotedInclude(line, &included)) continue;
    const std::string where = path + ":" + std::to_string(number) + ": ";
    if (included.rfind("../", 0) == 0 || included.find("/../") != std::string::npos) {
      errors->push_back(where + "\"" + included +
                        "\" leaves its folder; name it from the source root");
      continue;
    }
    // Same-folder includes and headers outside the tree.
    if (included.find('/') == std::string::npos || !tops.count(TopFolder(included))) continue;
    const std::string to = LayerOf(table, included);
    if (to.empty()) {
      errors->push_back(where + "\"" + included +
                        "\" is in a folder without a row in the layer table");
    } else if (to != from && !table.reach.at(from).count(to)) {
      errors->push_back(where + "\"" + included + "\": " + from + " may not include " + to);
    }
  }
}

void CheckTreeIncludes(const LayerTable& table, const std::filesystem::path& root,
                       std::vector<std::string>* errors) {
  namespace fs = std::filesystem;
  static const std::set<std::string> kSourceExtensions = {".h", ".hpp", ".c", ".cc", ".cpp"};
  for (const std::string& top : TopFolders(table)) {
    if (!fs::is_directory(root / top)) continue;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / top)) {
      if (!entry.is_regular_file() || !kSourceExtensions.count(entry.path().extension().string()))
        continue;
      const std::string path = entry.path().lexically_relative(root).generic_string();
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      CheckFileIncludes(table, path, text.str(), errors);
    }
  }
}
