// Arbitrary 1-bit images through segmentation with every kind of mask: the
// type-driven grouping, the general path with its choice of sequence, and the
// cell kinds of the line path must stay inside their records.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const uint32_t kMasks[] = {1, 2, 3, 8, 512, 515, 1032, 4, 16, 0x180};
  if (size < 4) return 0;
  const uint32_t mask = kMasks[data[0] % (sizeof kMasks / sizeof kMasks[0])];
  const int width = 8 * (1 + data[1] % 48);  // up to 384 pixels
  const int rowBytes = width / 8;
  const int height = std::max<int>(1, static_cast<int>((size - 3) / rowBytes));
  const int max = 1 + data[2] % kMaxBoxes;
  std::vector<uint8_t> bits(static_cast<size_t>(rowBytes) * height, 0);
  std::memcpy(bits.data(), data + 3, std::min(bits.size(), size - 3));
  DictBlock dict = {};
  dict.header = PatternDictHeader{};
  std::memcpy(dict.header.magic, "QVT", 3);
  dict.header.version = 3;
  dict.header.kind = dict.header.headerByte7 = dict.header.headerByte8 = 1;
  dict.header.currentTypes = mask;
  DictBlock* dicts[1] = {&dict};
  RecogRunBlock run = RunOver(RunImage{static_cast<int16_t>(width), static_cast<int16_t>(height), 1,
                                       static_cast<int16_t>(rowBytes), 200, bits.data()},
                              {0, 0, static_cast<int16_t>(width - 1), static_cast<int16_t>(height - 1)},
                              dicts);
  std::vector<MupaRect> boxes(max);
  int count = 0;
  SegmentCharacters(&run, boxes.data(), max, &count);
  auto work = std::make_unique<SegmentWork>();
  if (SegmentLine(run, max, work.get()) == 0 && work->header.boxCount > 0) {
    std::vector<RecogCharResult> results(kMaxBoxes);
    TestCellStructures(run, work->header.box, work->rows, work->header.boxCount,
                       work->components, work->header.componentCount, mask, results.data(),
                       kMaxBoxes);
  }
  return 0;
}
