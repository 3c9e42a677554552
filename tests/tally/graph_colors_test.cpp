// The graph-colour table of a sheet definition on both drivers: rows made
// with their defaults when missing, colours read back as stored, and one
// slot saved as the graph-colour window stores it.
#include <gtest/gtest.h>

#include "designer/survey.h"
#include "foundation/db.h"
#include "tally/tally.h"
#include "tests/tally/survey_fixture.h"

namespace {

using Texts = std::vector<std::string>;

class GraphColors : public SurveyDbTest {
 protected:
  std::string Stored(int type, int slot) { return StoredGraphColor(type, slot); }
};

TEST_P(GraphColors, AMissingRowIsAddedWithTheDefaults) {
  EXPECT_EQ(LoadGraphColors("", kDb, -1, kGraphRadar), 1);
  EXPECT_EQ(Stored(kGraphRadar, 1), "01");
  EXPECT_EQ(Stored(kGraphRadar, 4), "01");
  EXPECT_EQ(Stored(kGraphRadar, 5), "02");
  EXPECT_EQ(LoadGraphColors("", kDb, -1, kGraphPie), 1);
  EXPECT_EQ(Stored(kGraphPie, 29), "09-06");
  // The second time the row is there.
  g_graphColors[kGraphRadar][5] = {};
  EXPECT_EQ(LoadGraphColors("", kDb, -1, kGraphRadar), 0);
  EXPECT_EQ(g_graphColors[kGraphRadar][5].colorCode, 102);
  EXPECT_EQ(g_graphColors[kGraphRadar][5].pattern, kFillSolid);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(GraphColors, ASavedSlotIsUsedAtOnce) {
  ASSERT_EQ(LoadGraphColors("", kDb, -1, kGraphBar), 1);
  g_graphColorWindow.graphType = kGraphBar;
  EXPECT_EQ(SaveGraphColor(3, "05-03"), 0);
  EXPECT_EQ(Stored(kGraphBar, 3), "05-03");
  EXPECT_EQ(g_graphColors[kGraphBar][3].colorCode, 105);
  EXPECT_EQ(g_graphColors[kGraphBar][3].pattern, 2);
  // No row for the type: nothing is stored, the defaults stand.
  g_graphColorWindow.graphType = kGraphChoice;
  EXPECT_EQ(SaveGraphColor(3, "07-01"), 0);
  EXPECT_EQ(Stored(kGraphChoice, 3), "03-06");  // made by the reload
  EXPECT_EQ(Boxes(), Texts{});
}

INSTANTIATE_TEST_SUITE_P(Drivers, GraphColors, testing::Values(kDbKindFile, kDbKindServer),
                         KindName);

}  // namespace
