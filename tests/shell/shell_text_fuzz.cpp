// Feeds arbitrary bytes to the readers of the shell's small settings files
// ("server.dat", "ocrpath.dat") and to the command-line rules, and checks
// what they promise: a known kind, and names within their room.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/shell_text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const ServerChoice choice = ParseServerList(text);
  Check(choice.kind == 1 || choice.kind == 2);
  Check(choice.server.size() <= static_cast<std::size_t>(kMaxServerName));

  std::string folder, name;
  if (ParseDefinitionPath(text, folder, name)) {
    Check(folder.size() <= static_cast<std::size_t>(kMaxDefinitionPart));
    Check(name.size() <= static_cast<std::size_t>(kMaxDefinitionPart));
  }

  const std::string line = text.substr(0, text.find('\0'));
  const CommandLineRequest request = ParseCommandLine(line.c_str());
  Check(request.markSize >= 0 && request.markSize <= 99);
  const DefinitionPlace place = PlaceNamedDefinition(request.definition, "C:\\KQ");
  Check(place.name.size() <= request.definition.size());
  ProgramFolderFromCommandLine(line.c_str());
  bool made = false;
  ResolveOutputPath(line, "C:\\KQ", &made);
  return 0;
}
