#include "tests/platform/image_fixtures.h"

#include <wincodec.h>

#include <cstdint>

namespace {

// The tests' own imaging factory on the main thread: opened by the first
// picture written, closed when the program exits.
class FixtureImaging {
 public:
  FixtureImaging() : com_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                     IID_IWICImagingFactory, reinterpret_cast<void**>(&factory_));
  }
  ~FixtureImaging() {
    if (factory_) factory_->Release();
    if (SUCCEEDED(com_)) CoUninitialize();
  }
  FixtureImaging(const FixtureImaging&) = delete;
  FixtureImaging& operator=(const FixtureImaging&) = delete;
  IWICImagingFactory* factory() const { return factory_; }

 private:
  HRESULT com_;
  IWICImagingFactory* factory_ = nullptr;
};

IWICImagingFactory* FixtureFactory() {
  static FixtureImaging imaging;
  return imaging.factory();
}

}  // namespace

void WritePng(const std::string& path, const Picture& picture) {
  const int width = picture.empty() ? 0 : static_cast<int>(picture[0].size());
  const int height = static_cast<int>(picture.size());
  std::vector<BYTE> pixels(width * 3 * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const PictureRgb rgb = PictureColor(picture[y][x]);
      BYTE* p = &pixels[(y * width + x) * 3];
      p[0] = rgb.blue;
      p[1] = rgb.green;
      p[2] = rgb.red;
    }
  }
  IWICImagingFactory* factory = FixtureFactory();
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  IPropertyBag2* options = nullptr;
  const std::wstring wide(path.begin(), path.end());
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  factory->CreateStream(&stream);
  stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE);
  factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
  encoder->Initialize(stream, WICBitmapEncoderNoCache);
  encoder->CreateNewFrame(&frame, &options);
  frame->Initialize(options);
  frame->SetSize(width, height);
  frame->SetPixelFormat(&format);
  frame->WritePixels(height, width * 3, static_cast<UINT>(pixels.size()), pixels.data());
  frame->Commit();
  encoder->Commit();
  options->Release();
  frame->Release();
  encoder->Release();
  stream->Release();
}

Picture PictureThroughPlatform(const std::string& path, int page) {
  IWICImagingFactory* factory = FixtureFactory();
  const std::wstring wide(path.begin(), path.end());
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  UINT width = 0, height = 0;
  std::vector<BYTE> pixels;
  if (SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(page, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                      nullptr, 0, WICBitmapPaletteTypeCustom))) {
    pixels.resize(std::size_t(width) * 4 * height);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()),
                                     pixels.data()))) {
      pixels.clear();
    }
  }
  for (IUnknown* object : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                           static_cast<IUnknown*>(decoder)}) {
    if (object) object->Release();
  }
  Picture picture;
  if (pixels.empty()) return picture;
  picture.assign(height, std::string(width, '.'));
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) {
      const BYTE* p = &pixels[(std::size_t(y) * width + x) * 4];
      if (Luminance(p[2], p[1], p[0]) < 128) picture[y][x] = '#';
    }
  }
  return picture;
}

Picture PictureOf(HGLOBAL image) {
  Picture picture;
  auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(image));
  if (!header) return picture;
  const int width = header->biWidth;
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const int bits = header->biBitCount;
  const int colors = bits <= 8 ? (header->biClrUsed ? header->biClrUsed : 1 << bits) : 0;
  const auto* palette = reinterpret_cast<const RGBQUAD*>(header + 1);
  const auto* rows = reinterpret_cast<const uint8_t*>(palette + colors);
  const int stride = (width * bits + 31) / 32 * 4;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = rows + stride * (header->biHeight < 0 ? y : height - 1 - y);
    std::string line(width, '.');
    for (int x = 0; x < width; ++x) {
      int level;
      if (bits <= 8) {
        const int index = bits == 1 ? (row[x / 8] >> (7 - x % 8)) & 1 : row[x];
        const RGBQUAD& q = palette[index];
        level = Luminance(q.rgbRed, q.rgbGreen, q.rgbBlue);
      } else {
        const uint8_t* p = row + x * (bits / 8);
        level = Luminance(p[2], p[1], p[0]);
      }
      if (level < 128) line[x] = '#';
    }
    picture.push_back(line);
  }
  GlobalUnlock(image);
  return picture;
}

int DepthOf(HGLOBAL image) {
  auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(image));
  if (!header) return 0;
  const int bits = header->biBitCount;
  GlobalUnlock(image);
  return bits;
}

bool ThreadRunsCom() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(result)) CoUninitialize();
  return result == S_FALSE || result == RPC_E_CHANGED_MODE;
}

std::string FreshFolder(const std::string& name) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((name + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string entry = name + "\\" + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (found.cFileName[0] != '.') {
          FreshFolder(entry);
          RemoveDirectoryA(entry.c_str());
        }
      } else {
        DeleteFileA(entry.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  CreateDirectoryA(name.c_str(), nullptr);
  return name;
}

bool FileExistsNow(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
