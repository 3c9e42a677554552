// The shell's text rules.
#include "shell/shell_text.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, TakesTheMarkSizeAndTheDefinition) {
  struct Case {
    const char* what;
    const char* line;
    int markSize;
    const char* definition;
  };
  const Case cases[] = {
      {"option then name", "/2H12 ABC", 12, "ABC"},
      {"lower-case option", "/2h5", 5, ""},
      {"at most two digits", "/2H123 X", 12, "X"},
      {"options only", "/2H7", 7, ""},
      {"blanks dropped", "D:\\A B\\C", 0, "D:\\AB\\C"},
      {"name before the option", "SHEET /2H10", 10, "SHEET"},
      {"empty", "", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CommandLineRequest request = ParseCommandLine(c.line);
    EXPECT_EQ(request.markSize, c.markSize);
    EXPECT_EQ(request.definition, c.definition);
  }
}

}  // namespace
