// The descriptions of a table-specification text, for the tests of the
// specification files the program ships.
#pragma once

#include <sstream>
#include <string>
#include <vector>

// The section name of every description: the line before each FIELD line.
inline std::vector<std::string> SpecSections(const std::string& text) {
  std::vector<std::string> sections;
  std::istringstream lines(text);
  std::string line;
  std::string previous;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("FIELD", 0) == 0) sections.push_back(previous);
    previous = line;
  }
  return sections;
}
