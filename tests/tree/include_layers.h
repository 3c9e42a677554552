// The layer table of the tree (tests/tree/layers.txt) and the check of every
// #include "folder/..." of the sources against it. Portable.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

struct LayerTable {
  // Folder -> every folder it may include (its row, read transitively).
  std::map<std::string, std::set<std::string>> reach;
};

// Reads the table: one folder (or file) a line, then the folders it may
// include; "#" starts a comment. Problems (a folder twice, a row naming a folder without
// a row of its own, a cycle) are appended to `errors`.
LayerTable ParseLayerTable(const std::string& text, std::vector<std::string>* errors);

// The folder of the table that holds `path` (relative to the source root,
// "/"-separated): the longest one; "" when none does. A row may also name
// one file, which then stands apart from its folder.
std::string LayerOf(const LayerTable& table, const std::string& path);

// Checks the quoted includes of one file (`path` relative to the source
// root, `text` its contents). Each problem is "path:line: what" appended to
// `errors`: an include that leaves its folder with "..", an include of a
// folder the file's folder may not include, or of a folder of the tree's
// top folders that has no row.
void CheckFileIncludes(const LayerTable& table, const std::string& path, const std::string& text,
                       std::vector<std::string>* errors);

// Checks every C and C++ file under the top folders of the table's folders
// in the tree at `root`; a file in a folder without a row is a problem too.
void CheckTreeIncludes(const LayerTable& table, const std::filesystem::path& root,
                       std::vector<std::string>* errors);
