// Every #include between folders of the tree follows the layer table
// (tests/tree/layers.txt), and the check itself catches what it must.
#include "tests/tree/include_layers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace {

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(IncludeLayers, TheTreeFollowsItsLayerTable) {
  const std::filesystem::path root = SHEETDESK_SOURCE_DIR;
  std::ifstream in(root / "tests/tree/layers.txt");
  ASSERT_TRUE(in) << "tests/tree/layers.txt not found";
  std::ostringstream text;
  text << in.rdbuf();
  std::vector<std::string> errors;
  const LayerTable table = ParseLayerTable(text.str(), &errors);
  EXPECT_TRUE(errors.empty()) << "tests/tree/layers.txt:\n" << Join(errors);
  errors.clear();
  CheckTreeIncludes(table, root, &errors);
  EXPECT_TRUE(errors.empty()) << Join(errors);
}

constexpr const char* kTable =
    "lib                 # the bottom\n"
    "core      lib\n"
    "ui        core\n"
    "app       ui        # the top\n"
    "app/sub   app\n"
    "t/x       lib\n"
    "lib/one.h           # a file of its own\n"
    "shared    lib/one.h\n";

TEST(IncludeLayers, ReadsTheTableTransitively) {
  std::vector<std::string> errors;
  const LayerTable table = ParseLayerTable(kTable, &errors);
  EXPECT_TRUE(errors.empty()) << Join(errors);
  EXPECT_EQ(table.reach.at("lib"), std::set<std::string>{});
  EXPECT_EQ(table.reach.at("app"), (std::set<std::string>{"ui", "core", "lib"}));
  EXPECT_EQ(LayerOf(table, "app/sub/x.h"), "app/sub");
  EXPECT_EQ(LayerOf(table, "app/subx/x.h"), "app");
  EXPECT_EQ(LayerOf(table, "application/x.h"), "");
  EXPECT_EQ(LayerOf(table, "lib/one.h"), "lib/one.h");
  EXPECT_EQ(LayerOf(table, "lib/one.hpp"), "lib");
}

TEST(IncludeLayers, RefusesBrokenTables) {
  struct Case {
    const char* what;
    const char* table;
    const char* error;
  };
  const Case cases[] = {
      {"cycle", "a b\nb c\nc a\n", "cycle"},
      {"self", "a a\n", "cycle"},
      {"unknown folder", "a b\n", "a names b, which has no row"},
      {"two rows", "a\nb\na b\n", "line 3: a has two rows"},
      {"a folder inside one it is above", "a\nb a\na/c b\n",
       "cycle: a/c lies in a but includes b, which includes a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> errors;
    ParseLayerTable(c.table, &errors);
    EXPECT_NE(Join(errors).find(c.error), std::string::npos) << Join(errors);
  }
}

TEST(IncludeLayers, ChecksEachInclude) {
  std::vector<std::string> tableErrors;
  const LayerTable table = ParseLayerTable(kTable, &tableErrors);
  struct Case {
    const char* what;
    const char* file;
    const char* text;
    const char* error;  // "" when the file is fine
  };
  const Case cases[] = {
      {"down one", "ui/a.cpp", "#include \"core/b.h\"\n", ""},
      {"down two", "app/a.cpp", "#include \"lib/b.h\"\n", ""},
      {"own folder", "ui/a.cpp", "#include \"ui/b.h\"\n#include \"b.h\"\n", ""},
      {"outside the tree", "ui/a.cpp", "#include \"gtest/gtest.h\"\n#include <lib/x.h>\n", ""},
      {"spaced directive", "ui/a.cpp", "  #  include \"core/b.h\"\n", ""},
      {"up", "core/a.cpp", "\n#include \"ui/b.h\"\n",
       "core/a.cpp:2: \"ui/b.h\": core may not include ui"},
      {"up to a sub-folder", "app/a.cpp", "#include \"app/sub/b.h\"\n",
       "app may not include app/sub"},
      {"spaced up", "lib/a.cpp", " # include \"core/b.h\"\n", "lib may not include core"},
      {"leaves its folder", "ui/a.cpp", "#include \"../core/b.h\"\n", "leaves its folder"},
      {"top folder not in the table", "ui/a.cpp", "#include \"lib2/b.h\"\n", ""},
      {"a file of its own", "shared/a.cpp", "#include \"lib/one.h\"\n", ""},
      {"the rest of its folder", "shared/a.cpp", "#include \"lib/two.h\"\n",
       "shared may not include lib"},
      {"folder without a row", "ui/a.cpp", "#include \"t/y/b.h\"\n", "in a folder without a row"},
      {"file without a row", "t/y/a.cpp", "", "t/y/a.cpp: its folder has no row"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> errors;
    CheckFileIncludes(table, c.file, c.text, &errors);
    if (*c.error == '\0') {
      EXPECT_TRUE(errors.empty()) << Join(errors);
    } else {
      EXPECT_NE(Join(errors).find(c.error), std::string::npos) << Join(errors);
    }
  }
}

TEST(IncludeLayers, WalksEveryFolderOfTheTable) {
  const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                     ("include_layers_" + std::to_string(std::random_device{}()));
  std::filesystem::remove_all(root);
  const auto write = [&](const std::string& path, const std::string& text) {
    std::filesystem::create_directories((root / path).parent_path());
    std::ofstream(root / path) << text;
  };
  write("lib/deep/x.h", "#include \"ui/y.h\"\n");
  write("app/stray/notes.txt", "#include \"app/sub/z.h\"\n");
  write("app/sub/z.cpp", "#include \"lib/deep/x.h\"\n");
  write("elsewhere/w.cpp", "#include \"app/z.h\"\n");
  write("t/y/v.c", "");
  std::vector<std::string> tableErrors;
  const LayerTable table = ParseLayerTable(kTable, &tableErrors);
  std::vector<std::string> errors;
  CheckTreeIncludes(table, root, &errors);
  std::filesystem::remove_all(root);
  std::sort(errors.begin(), errors.end());
  EXPECT_EQ(Join(errors),
            "lib/deep/x.h:1: \"ui/y.h\": lib may not include ui\n"
            "t/y/v.c: its folder has no row in the layer table\n");
}

}  // namespace
