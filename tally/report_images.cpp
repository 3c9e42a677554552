// Image files in reports: drawn at the cursor or at a position, placed in a
// grid of page images, and the list of a record's page images. Each image
// is loaded through the imaging library for one drawing and freed again.
// The size of the last placed image is kept for the next placement.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/files.h"
#include "foundation/image_cache.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "tally/report_internal.h"

namespace {

// Page images with fewer ink pixels than this are blank pages, not printed.
constexpr int kBlankPageInk = 300;
constexpr int kMaxImagePages = 99;

// Frees the loaded image when the drawing call ends.
class LoadedImage {
 public:
  explicit LoadedImage(const char* file)
      : image_(file && *file ? LoadImageUncached(file) : nullptr) {}
  ~LoadedImage() { DeleteImage(image_); }
  LoadedImage(const LoadedImage&) = delete;
  LoadedImage& operator=(const LoadedImage&) = delete;
  ImageHandle get() const { return image_; }

 private:
  ImageHandle image_;
};

}  // namespace

int DrawReportImage(const char* file, int x, int y, int width, int height,
                double sizeFactor) {
  ReportOutputContext& r = g_reportOutput;
  LoadedImage image(file);
  if (!image.get()) return -1;
  if (width < 0 || height < 0) {
    int ownWidth = 0, ownHeight = 0;
    GetImageSize(image.get(), &ownWidth, &ownHeight);
    r.imageWidth = static_cast<int>(ownWidth * sizeFactor);
    r.imageHeight = static_cast<int>(ownHeight * sizeFactor);
  }
  HDC dc = ReportDrawDC();
  if (!dc) return 0;
  const int s = ReportScale();
  RECT rect{x, y, x + r.imageWidth * s, y + r.imageHeight * s};
  rect.top *= r.ySign;
  rect.bottom *= r.ySign;
  DrawImageInRect(dc, image.get(), rect);
  return 0;
}

namespace {

std::string UpperExtension(const char* file) {
  std::vector<char> extension(std::strlen(file) + 1);
  GetFileExtensionUpper(extension.data(), file);
  return extension.data();
}

}  // namespace

void ReportDrawImage(const char* file, int x, int y, int width, int height) {
  DrawReportImage(file, x, y, width, height, g_reportOutput.sizeFactor);
}

void ReportImageCell(const char* file, int x, int y, int width, int height,
                     double sizeFactor) {
  DrawReportImage(file, PageXOf(x), PageYOf(y), width, height, sizeFactor);
}

void ReportPlaceImage(const char* file, int n) {
  ReportOutputContext& r = g_reportOutput;
  if (r.mode == kReportTextFile) return;
  const ReportCellGeometry g = ComputeCellGeometry(r);
  DrawReportImage(file, g.x, g.y, -1, -1, r.sizeFactor);
  r.columnOffset += n * ReportDigitWidth();
}

int ReportPrintImageAt(const char* file, int x, int y) {
  ReportOutputContext& r = g_reportOutput;
  if (!file || !*file) return -1;
  const std::string type = UpperExtension(file);
  if (type != "BMP" && type != "TIF") return -1;
  if (type == "BMP" && MeasureSheetImageInk(file, kInkFullWidth) <= kBlankPageInk) {
    return -1;
  }
  LoadedImage image(file);
  if (!image.get()) return -1;
  int width = 0, height = 0;
  GetImageSize(image.get(), &width, &height);
  r.imageWidth = width * r.imageSizePercent / 100;
  r.imageHeight = height * r.imageSizePercent / 100;
  HDC dc = ReportDrawDC();
  if (!dc) return 0;
  const int s = ReportScale();
  const RECT rect{x, y * r.ySign, x + r.imageWidth * s,
                  (y + r.imageHeight * s) * r.ySign};
  DrawImageInRect(dc, image.get(), rect);
  ReportRect(rect.left, rect.top, rect.right, rect.bottom, 1, 0);
  return 0;
}

int ReportPrintImage(const char* file, int row, int column) {
  const ReportOutputContext& r = g_reportOutput;
  const ReportCellGeometry g = ComputeCellGeometry(r);
  const int x = g.x + column * (r.imageWidth + r.imageGapX) * g.scale;
  const int y = g.y0 + row * (r.imageHeight + r.imageGapY) * g.scale;
  return ReportPrintImageAt(file, x, y);
}

int GetReportImageFileSize(const char* file, int* width, int* height) {
  LoadedImage image(file);
  if (!image.get()) return -1;
  GetImageSize(image.get(), width, height);
  return 0;
}

int FindImagePageFile(int page, const char* folder) {
  char pattern[MAX_PATH + 32];
  std::snprintf(pattern, sizeof pattern, "%s\\IMG_*_%02d.*", folder, page);
  return FileExists(pattern);
}

int ListImageFiles(const char* folder) {
  std::string& list = g_reportOutput.imageList;
  list.clear();
  for (int page = 1; page <= kMaxImagePages; ++page) {
    if (FindImagePageFile(page, folder) != 0) break;
    char number[8];
    std::snprintf(number, sizeof number, "%02d,", page);
    list += number;
  }
  if (!list.empty()) list.pop_back();
  return 0;
}
