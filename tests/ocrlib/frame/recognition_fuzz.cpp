// Calls the four recognition exports of MUPA32 with arguments taken from
// arbitrary bytes, as a careless client might pass them: image descriptors
// of any size and polarity, rectangles and cells anywhere, option bytes,
// capacities, null pointers, handles and environments that are not there.
// The image and the result arrays are exactly as large as the arguments
// claim, so AddressSanitizer sees any access past them; every call returns
// a documented result, and the caller's bitmap comes back unchanged.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ocrlib/dictbuilder/dict_builder.h"
#include "ocrlib/dictwriter/dict_writer.h"
#include "ocrlib/mupa32.h"
#include "tests/ocrlib/kit/digit_kit.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Reads values off the input, zeros once it runs out.
class Arguments {
 public:
  Arguments(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  template <class T>
  T Take() {
    T value{};
    const size_t n = std::min(sizeof value, size_ - used_);
    std::memcpy(&value, data_ + used_, n);
    used_ += n;
    return value;
  }
  MupaRect Rect() { return {Take<int16_t>(), Take<int16_t>(), Take<int16_t>(), Take<int16_t>()}; }
  // The bytes not taken yet.
  const uint8_t* rest() const { return data_ + used_; }
  size_t restSize() const { return size_ - used_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t used_ = 0;
};

// A digit dictionary as the dictionary builder trains one, from drawn
// handwriting-like digits.
DictFileSpec BuiltDigitDict() {
  std::vector<penkit::DigitSample> drawn = penkit::DigitSamples(7, 12);
  std::vector<LabelledChar> samples;
  for (penkit::DigitSample& d : drawn) {
    const MupaImage image = d.image.Descriptor();
    samples.push_back({RunImage{image.width, image.height, 1, image.bytesPerLine, image.dpi, image.bits},
                       d.image.InkRect(), static_cast<uint16_t>(0x824F + d.digit), 1});
  }
  DictFileSpec spec;
  BuildReport report;
  std::string error;
  BuilderOptions options;
  options.description = "built digits";
  Check(BuildPatternDict(samples, options, &spec, &report, &error) == 0);
  return spec;
}

// A library handle and an environment with a built digit dictionary, the
// shipped one when the build wrote it beside the program, and the
// sample dictionaries loaded, made once for the process; each input
// registers one of them and sets its character types, so every recogniser
// the types choose is driven.
struct Library {
  int16_t handle = -1;
  int16_t environment = -1;
  std::vector<int16_t> dictionaries;
  Library() {
    handle = MupaBegin();
    environment = MupaOpenExecEnv(handle, kExecEnvMode);
    std::vector<std::pair<std::string, DictFileSpec>> specs = {{"built_digits", BuiltDigitDict()}};
    for (const SampleDict& sample : kSampleDicts) specs.push_back({sample.name, sample.make()});
    for (const auto& [name, spec] : specs) {
      const std::string path = "/tmp/mupa_recognition_fuzz_" + std::to_string(getpid()) + name + ".dic";
      WriteDictBytes(path, EncodeDictFile(spec));
      const int16_t dictionary = MupaLoadPatternDict(handle, path.c_str());
      std::remove(path.c_str());
      if (dictionary >= 0) dictionaries.push_back(dictionary);
    }
    LoadShippedDigits();
  }

  // The digit dictionary the build writes beside the program, as shipped
  // and with its many derived stroke models reading single digits.
  void LoadShippedDigits() {
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return;
    std::string folder = self;
    folder.erase(folder.rfind('/') + 1);
    FILE* file = std::fopen((folder + "digits.dic").c_str(), "rb");
    if (file == nullptr) return;
    std::vector<uint8_t> bytes;
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    if (bytes.size() < 10) return;
    for (const uint8_t patternOnly : {bytes[9], uint8_t{0}}) {
      bytes[9] = patternOnly;  // the header's pattern-only byte
      const std::string path = "/tmp/mupa_recognition_fuzz_" + std::to_string(getpid()) +
                               "_shipped" + std::to_string(patternOnly) + ".dic";
      WriteDictBytes(path, bytes);
      const int16_t dictionary = MupaLoadPatternDict(handle, path.c_str());
      std::remove(path.c_str());
      if (dictionary >= 0) dictionaries.push_back(dictionary);
    }
  }
};

void CheckResult(int16_t handle, int result) {
  Check(result >= -1 || result == -9 || result == -10);
  if (result == -9) {
    uint16_t codes[32];
    Check(MupaGetError(handle, codes, 32) >= 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Library library;
  Check(library.handle >= 0 && library.environment >= 0);
  Check(!library.dictionaries.empty());
  Arguments a(data, size);
  const uint8_t call = a.Take<uint8_t>();
  // The dictionary and the character types of this input.
  const int16_t dictionary = library.dictionaries[a.Take<uint8_t>() % library.dictionaries.size()];
  constexpr uint32_t kMasks[] = {1, 2, 3, 8, 9, 128, 129, 512, 513, 514, 515, 1024, 0xFFFFFFFF};
  const uint8_t maskChoice = a.Take<uint8_t>();
  const uint32_t mask = maskChoice < 13 * 16 ? kMasks[maskChoice % 13] : a.Take<uint32_t>();
  for (int16_t d : library.dictionaries) MupaCancelPatternDict(library.handle, library.environment, d);
  MupaRegisterPatternDict(library.handle, library.environment, dictionary);
  MupaSetCharType(library.handle, dictionary, mask);
  const uint8_t nulls = a.Take<uint8_t>();  // bits 0-4: pass this pointer as null
  const int16_t handle = call & 0x10 ? a.Take<int16_t>() : library.handle;
  const int16_t environment = call & 0x20 ? a.Take<int16_t>() : library.environment;
  MupaImage image = {a.Take<int16_t>(), a.Take<int16_t>(), a.Take<uint16_t>(), a.Take<int16_t>(),
                     a.Take<int16_t>(),  a.Take<uint16_t>(), nullptr};
  MupaRect rect = a.Rect();
  MupaRecogOptions options;
  const auto optionBytes = a.Take<std::array<uint8_t, sizeof options>>();
  std::memcpy(&options, optionBytes.data(), sizeof options);
  int16_t capacity = static_cast<int16_t>(a.Take<int8_t>());
  const uint16_t cellCount = a.Take<uint8_t>() % 8;
  std::vector<MupaRect> cells(cellCount);
  for (MupaRect& cell : cells) cell = a.Rect();
  // Half the inputs are made valid, so that their random ink reaches the
  // recognisers: an image of at most 255 x 127 pixels with exact rows,
  // rectangles inside it, the option markers, a mode and a capacity.
  if (call & 0x40) {
    image.width = static_cast<int16_t>(1 + (static_cast<uint16_t>(image.width) & 0xFF));
    image.height = static_cast<int16_t>(1 + (static_cast<uint16_t>(image.height) & 0x7F));
    image.bitsPerPixel = 1;
    image.bytesPerLine = static_cast<int16_t>((image.width + 7) / 8);
    image.dpi = static_cast<int16_t>(200 + (static_cast<uint16_t>(image.dpi) % 401));
    image.polarity &= 1;
    auto inside = [&](MupaRect r) {
      auto clamp = [](int16_t v, int limit) { return static_cast<int16_t>(static_cast<uint16_t>(v) % limit); };
      MupaRect out = {clamp(r.left, image.width), clamp(r.top, image.height),
                      clamp(r.right, image.width), clamp(r.bottom, image.height)};
      if (out.left > out.right) std::swap(out.left, out.right);
      if (out.top > out.bottom) std::swap(out.top, out.bottom);
      return out;
    };
    rect = inside(rect);
    for (MupaRect& cell : cells) cell = inside(cell);
    options.marker[0] = options.marker[1] = 1;
    options.mode = static_cast<uint8_t>(1 + options.mode % 3);
    capacity = static_cast<int16_t>(2 + static_cast<uint8_t>(capacity) % 99);
  }

  // The bitmap as large as the descriptor says, filled from the input; a
  // descriptor of no rows or no bytes gets a few bytes it must be refused
  // before reading. Bitmaps beyond a megabyte are left to other inputs.
  std::vector<uint8_t> bits;
  const long bytes = static_cast<long>(image.height) * image.bytesPerLine;
  if (bytes > 1 << 20) return 0;
  static uint8_t spare[8];
  image.bits = spare;
  if (image.height > 0 && image.bytesPerLine > 0) {
    bits.resize(bytes);
    for (long i = 0; i < bytes && a.restSize() > 0; ++i) bits[i] = a.rest()[i % a.restSize()];
    image.bits = bits.data();
  }
  const std::vector<uint8_t> before = bits;
  std::vector<MupaCharResult> results(std::max<int>(capacity, 0));
  std::vector<MupaRect> boxes(std::max<int>(capacity, 0));
  int16_t count = 0;
  uint16_t status = 0;
  MupaImage* imageArg = nulls & 1 ? nullptr : &image;
  const MupaRect* rectArg = nulls & 2 ? nullptr : &rect;
  const MupaRecogOptions* optionsArg = nulls & 4 ? nullptr : &options;
  const bool noResults = nulls & 8;
  int16_t* countArg = nulls & 16 ? nullptr : &count;
  // A capacity of 0 and more still gets a real array: an empty one is a
  // valid pointer the library must not write through.
  MupaCharResult* resultArg = noResults ? nullptr : results.data() ? results.data() : reinterpret_cast<MupaCharResult*>(&count);

  switch (call % 4) {
    case 0:
      CheckResult(handle, MupaExecuteOneChar(handle, environment, imageArg, rectArg, optionsArg,
                                             capacity > 0 ? resultArg : nullptr));
      break;
    case 1:
      CheckResult(handle, MupaExecuteFieldChar(handle, environment, imageArg, cells.data(), cellCount,
                                               optionsArg, resultArg, capacity, countArg));
      break;
    case 2: {
      const int16_t found = MupaExecuteOneLine(handle, environment, imageArg, rectArg, optionsArg, resultArg,
                                               capacity, 0, &status);
      Check(found >= -1 || found == -10);
      break;
    }
    default:
      CheckResult(handle, MupaSegChar(handle, environment, imageArg, rectArg, optionsArg,
                                      noResults ? nullptr : boxes.data(), capacity, countArg));
      break;
  }
  Check(bits == before);
  return 0;
}

namespace {

// Inputs that once found a fault, replayed at every start so that even the
// suite's short run on a clean checkout goes through them again.
const std::string_view kPastFaults[] = {
    // A capital line's box at the image's first column, tried with a cut
    // right after that column: the parting of joined runs looked one
    // column left of the image.
    std::string_view("GjJ@#\0-\xf1\xfb\x15-b!\0\0\0\x9e\0A", 19),
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (std::string_view input : kPastFaults) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
  }
  return 0;
}
