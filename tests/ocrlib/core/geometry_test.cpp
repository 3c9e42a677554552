// Integer geometry: units, roundings and table values the shape checks'
// thresholds rely on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "ocrlib/core/core_internal.h"

namespace {

TEST(Geometry, ApproxDistance) {
  struct Case {
    int32_t dx, dy, length;
  };
  const Case cases[] = {
      {3, 4, 1280},     {-3, 4, 1280},    {31, 0, 7936},     {32, 0, 8192},
      {100, 100, 36200}, {0, 0, 0},       {1, 1, 362},       {4, 1, 1055},
      {31, 31, 11223},  {0, -40, 10240},  {64, 32, 64 * 286},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
    EXPECT_EQ(ApproxDistance(c.dx, c.dy), c.length);
  }
  // Far beyond any character: exact in 64 bits, saturated at the end.
  EXPECT_EQ(ApproxDistance(INT32_MIN, 0), INT32_MAX);
  EXPECT_EQ(ApproxDistance(1 << 22, 1 << 22), 362 << 22);
}

TEST(Geometry, ArctanPercent) {
  struct Case {
    int32_t ratio, degrees;
  };
  const Case cases[] = {
      {100, 45},   {-100, -45}, {11, 6},     {12, 7},    {19, 11},   {59, 31},
      {79, 39},    {80, 38},    {109, 48},   {110, 47},  {189, 62},  {190, 63},
      {519, 79},   {520, 79},   {2299, 87},  {2300, 88}, {5799, 89}, {5800, 90},
      {1000000, 90}, {INT32_MIN, -90}, {0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ratio);
    EXPECT_EQ(ArctanPercent(c.ratio), c.degrees);
  }
}

TEST(Geometry, VectorAngle) {
  struct Case {
    int32_t x, y, degrees;
  };
  const Case cases[] = {
      {1, 0, 0},     {0, 1, 90},      {0, -1, -90},    {1, 1, 45},      {1, -1, -45},
      {-1, 1, 135},  {-1, -1, -135},  {-1, 0, -180},   {-1000, 1, 180}, {0, 0, 0},
      {100, 50, 27}, {INT32_MAX, INT32_MIN, -45},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(VectorAngle(c.x, c.y), c.degrees);
  }
}

TEST(Geometry, AnglesFromCosines) {
  struct Case {
    int32_t cosine, degrees;
  };
  const Case lookups[] = {{0, 90}, {-300, 180}, {300, 0}, {256, 0}, {255, 5}, {-255, 175},
                          {INT32_MIN, 180}, {INT32_MAX, 0}};
  for (const Case& c : lookups) {
    SCOPED_TRACE(c.cosine);
    EXPECT_EQ(ClampTableLookup(c.cosine), c.degrees);
  }
  struct Vertex {
    const char* what;
    GeoPoint a, b, c;
    int32_t degrees;
  };
  const Vertex vertices[] = {
      {"right angle", {0, 0}, {10, 0}, {0, 10}, 90},
      {"straight", {0, 0}, {10, 0}, {-10, 0}, 180},
      {"same side", {0, 0}, {10, 0}, {10, 0}, 0},
      {"degenerate side", {5, 5}, {5, 5}, {9, 1}, 90},
      {"diagonal", {0, 0}, {10, 0}, {10, 10}, 45},
      {"far apart", {-32768, -32768}, {32767, 32767}, {32767, -32768}, 45},
  };
  for (const Vertex& v : vertices) {
    SCOPED_TRACE(v.what);
    EXPECT_EQ(AngleAtVertex(v.a, v.b, v.c), v.degrees);
  }
}

TEST(Geometry, IntSqrtIsTheFloor) {
  struct Case {
    int32_t v, root;
  };
  const Case cases[] = {{0, 0}, {-5, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 2}, {99, 9}, {100, 10},
                        {2147483647, 46340}, {2147395600, 46340}, {2147395599, 46339}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(IntSqrt(c.v), c.root);
  }
  for (int64_t v = 1; v < INT32_MAX; v = v * 3 / 2 + 7) {
    const int32_t root = IntSqrt(static_cast<int32_t>(v));
    ASSERT_LE(int64_t{root} * root, v) << v;
    ASSERT_GT(int64_t{root + 1} * (root + 1), v) << v;
  }
}

TEST(Geometry, ShellSortIndices) {
  struct Case {
    std::vector<int32_t> keys;
    std::vector<uint32_t> order;
  };
  const Case cases[] = {
      {{5, 3, 5, 1}, {3, 1, 0, 2}},
      {{}, {}},
      {{7}, {0}},
      {{2, 2, 2}, {0, 1, 2}},
      {{9, 8, 7, 6, 5, 4, 3}, {6, 5, 4, 3, 2, 1, 0}},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> order(c.keys.size());
    ShellSortIndices(c.keys.data(), static_cast<int>(c.keys.size()), order.data());
    EXPECT_EQ(order, c.order);
    ShellSortIndexArray(c.keys.data(), static_cast<int>(c.keys.size()), order.data());
    EXPECT_EQ(order, c.order);
  }
}

}  // namespace
