#include "platform/wic_files.h"

#include <wincodec.h>

#include <string>
#include <vector>

#include "platform/imaging_session.h"

namespace {

template <class T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T** put() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

std::wstring WidePath(const char* path) {
  const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], length);
  wide.resize(length - 1);
  return wide;
}

int FileTypeOf(IWICBitmapDecoder* decoder) {
  GUID container;
  if (FAILED(decoder->GetContainerFormat(&container))) return kIkFileOther;
  if (container == GUID_ContainerFormatBmp) return kIkFileBmp;
  if (container == GUID_ContainerFormatTiff) return kIkFileTiff;
  if (container == GUID_ContainerFormatPng) return kIkFilePng;
  if (container == GUID_ContainerFormatJpeg) return kIkFileJpeg;
  if (container == GUID_ContainerFormatGif) return kIkFileGif;
  return kIkFileOther;
}

// One page of an image file, opened for reading.
struct PageReader {
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  UINT pageCount = 0;
  int fileType = kIkFileUnknown;
};

bool OpenPage(IWICImagingFactory* factory, const char* path, int page, PageReader* reader) {
  if (!factory || !path || !*path || page < 0) return false;
  const std::wstring wide = WidePath(path);
  if (wide.empty() ||
      FAILED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand,
                                                reader->decoder.put())) ||
      FAILED(reader->decoder->GetFrameCount(&reader->pageCount)) ||
      static_cast<UINT>(page) >= reader->pageCount ||
      FAILED(reader->decoder->GetFrame(page, reader->frame.put()))) {
    return false;
  }
  reader->fileType = FileTypeOf(reader->decoder.get());
  return true;
}

int BitsPerPixelOf(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
  ComRef<IWICComponentInfo> component;
  ComRef<IWICPixelFormatInfo> info;
  UINT bits = 0;
  if (FAILED(factory->CreateComponentInfo(format, component.put())) ||
      FAILED(component->QueryInterface(IID_IWICPixelFormatInfo,
                                       reinterpret_cast<void**>(info.put()))) ||
      FAILED(info->GetBitsPerPixel(&bits))) {
    return 0;
  }
  return static_cast<int>(bits);
}

void ReadDpi(IWICBitmapSource* source, int* xDpi, int* yDpi) {
  double x = 0, y = 0;
  source->GetResolution(&x, &y);
  *xDpi = static_cast<int>(x + 0.5);
  *yDpi = static_cast<int>(y + 0.5);
}

RGBQUAD Quad(WICColor color) {
  return RGBQUAD{static_cast<BYTE>(color), static_cast<BYTE>(color >> 8),
                 static_cast<BYTE>(color >> 16), 0};
}

// Palette of an indexed page; false when the decoder gives none.
bool ReadPalette(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                 std::vector<RGBQUAD>* palette) {
  ComRef<IWICPalette> wicPalette;
  WICColor colors[256];
  UINT count = 0;
  if (FAILED(factory->CreatePalette(wicPalette.put())) ||
      FAILED(frame->CopyPalette(wicPalette.get())) ||
      FAILED(wicPalette->GetColors(256, colors, &count)) || count == 0) {
    return false;
  }
  palette->clear();
  for (UINT i = 0; i < count; ++i) palette->push_back(Quad(colors[i]));
  return true;
}

HGLOBAL DecodePage(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame) {
  UINT width = 0, height = 0;
  WICPixelFormatGUID format;
  if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format)) ||
      width > static_cast<UINT>(kMaxImageSide) || height > static_cast<UINT>(kMaxImageSide)) {
    return nullptr;
  }
  int bits = 24;
  std::vector<RGBQUAD> palette;
  IWICBitmapSource* source = frame;
  ComRef<IWICFormatConverter> converter;
  if (format == GUID_WICPixelFormatBlackWhite ||
      (format == GUID_WICPixelFormat1bppIndexed && !ReadPalette(factory, frame, &palette))) {
    bits = 1;
    palette.assign(kBlackWhitePalette, kBlackWhitePalette + 2);
  } else if (format == GUID_WICPixelFormat1bppIndexed) {
    bits = 1;
  } else if (format == GUID_WICPixelFormat8bppIndexed && ReadPalette(factory, frame, &palette)) {
    bits = 8;
  } else if (format == GUID_WICPixelFormat8bppGray) {
    bits = 8;
    for (int level = 0; level < 256; ++level) {
      const BYTE v = static_cast<BYTE>(level);
      palette.push_back(RGBQUAD{v, v, v, 0});
    }
  } else {
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame, GUID_WICPixelFormat24bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom))) {
      return nullptr;
    }
    source = converter.get();
  }
  if (palette.size() > (bits == 1 ? 2u : 256u)) palette.resize(bits == 1 ? 2 : 256);
  int xDpi, yDpi;
  ReadDpi(frame, &xDpi, &yDpi);
  HGLOBAL image = CreateImage(static_cast<int>(width), static_cast<int>(height), bits,
                              palette.data(), static_cast<int>(palette.size()), xDpi, yDpi);
  if (!image) return nullptr;
  HRESULT copied;
  {
    ImageLock lock(image);
    copied = source->CopyPixels(nullptr, static_cast<UINT>(lock.raster().stride),
                                static_cast<UINT>(lock.dataSize()), lock.bits());
  }
  if (FAILED(copied)) {
    FreeImage(image);
    return nullptr;
  }
  return image;
}

bool SetTiffCompression(IPropertyBag2* options, int compression) {
  PROPBAG2 option = {};
  option.pstrName = const_cast<LPOLESTR>(L"TiffCompressionMethod");
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_UI1;
  value.bVal = static_cast<BYTE>(compression == kIkTiffGroup4 ? WICTiffCompressionCCITT4
                                                              : WICTiffCompressionNone);
  return SUCCEEDED(options->Write(1, &option, &value));
}

int Brightness(const RGBQUAD& q) { return q.rgbRed + q.rgbGreen + q.rgbBlue; }

// Writes one image as the next page of `encoder`. 1-bit TIFF pages are
// written black-is-zero, the form fax and scanner TIFFs take; the other
// depths keep their palette.
bool EncodePage(IWICImagingFactory* factory, IWICBitmapEncoder* encoder, const ImageLock& image,
                SaveFormat format, int compression) {
  ComRef<IWICBitmapFrameEncode> frame;
  ComRef<IPropertyBag2> options;
  if (FAILED(encoder->CreateNewFrame(frame.put(), options.put()))) return false;
  const int bits = image.bitsPerPixel();
  const bool blackWhite = bits == 1 && format == SaveFormat::kTiff;
  if (blackWhite && options.get()) SetTiffCompression(options.get(), compression);
  WICPixelFormatGUID pixelFormat = blackWhite ? GUID_WICPixelFormatBlackWhite
                                   : bits == 1 ? GUID_WICPixelFormat1bppIndexed
                                   : bits == 8 ? GUID_WICPixelFormat8bppIndexed
                                   : bits == 24 ? GUID_WICPixelFormat24bppBGR
                                                : GUID_WICPixelFormat32bppBGR;
  const WICPixelFormatGUID wanted = pixelFormat;
  const int xDpi = image.xDpi() > 0 ? image.xDpi() : 96;
  const int yDpi = image.yDpi() > 0 ? image.yDpi() : 96;
  if (FAILED(frame->Initialize(options.get())) ||
      FAILED(frame->SetSize(image.width(), image.height())) ||
      FAILED(frame->SetResolution(xDpi, yDpi)) || FAILED(frame->SetPixelFormat(&pixelFormat)) ||
      pixelFormat != wanted) {
    return false;
  }
  if (bits <= 8 && !blackWhite) {
    WICColor colors[256];
    for (int i = 0; i < image.paletteCount(); ++i) {
      const RGBQUAD& q = image.palette()[i];
      colors[i] = 0xFF000000u | (q.rgbRed << 16) | (q.rgbGreen << 8) | q.rgbBlue;
    }
    ComRef<IWICPalette> palette;
    if (FAILED(factory->CreatePalette(palette.put())) ||
        FAILED(palette->InitializeCustom(colors, image.paletteCount())) ||
        FAILED(frame->SetPalette(palette.get()))) {
      return false;
    }
  }
  const Raster raster = image.raster();
  const UINT rowBytes = static_cast<UINT>(AlignedRowBytes(raster.width, raster.bitsPerPixel));
  const bool invert = blackWhite && image.paletteCount() == 2 &&
                      Brightness(image.palette()[0]) > Brightness(image.palette()[1]);
  if (raster.stride > 0 && !invert) {
    if (FAILED(frame->WritePixels(raster.height, rowBytes, rowBytes * raster.height,
                                  raster.top))) {
      return false;
    }
  } else {
    std::vector<BYTE> row(rowBytes);
    for (int y = 0; y < raster.height; ++y) {
      for (UINT i = 0; i < rowBytes; ++i) row[i] = invert ? ~raster.Row(y)[i] : raster.Row(y)[i];
      if (FAILED(frame->WritePixels(1, rowBytes, rowBytes, row.data()))) return false;
    }
  }
  return SUCCEEDED(frame->Commit());
}

// Copies the pages of an existing TIFF file into `encoder`.
bool CopyPages(IWICImagingFactory* factory, IWICBitmapEncoder* encoder, const char* path,
               int compression) {
  PageReader reader;
  if (!OpenPage(factory, path, 0, &reader) || reader.fileType != kIkFileTiff) return false;
  for (UINT page = 0; page < reader.pageCount; ++page) {
    ComRef<IWICBitmapFrameDecode> frame;
    if (FAILED(reader.decoder->GetFrame(page, frame.put()))) return false;
    HGLOBAL copy = DecodePage(factory, frame.get());
    bool encoded;
    {
      ImageLock lock(copy);
      encoded = lock.ok() && EncodePage(factory, encoder, lock, SaveFormat::kTiff, compression);
    }
    FreeImage(copy);
    if (!encoded) return false;
  }
  return true;
}

}  // namespace

int ReadWicFileInfo(const char* path, int page, IKFileInfo* info) {
  IWICImagingFactory* factory = IKThreadImagingFactory();
  PageReader reader;
  if (!info || !OpenPage(factory, path, page, &reader)) return kIkFileUnknown;
  UINT width = 0, height = 0;
  WICPixelFormatGUID format;
  if (FAILED(reader.frame->GetSize(&width, &height)) ||
      FAILED(reader.frame->GetPixelFormat(&format))) {
    return kIkFileUnknown;
  }
  *info = IKFileInfo{};
  info->fileType = reader.fileType;
  info->page = page;
  info->width = static_cast<int32_t>(width);
  info->height = static_cast<int32_t>(height);
  ReadDpi(reader.frame.get(), &info->xDpi, &info->yDpi);
  info->bitsPerPixel = static_cast<int16_t>(BitsPerPixelOf(factory, format));
  info->pageCount = static_cast<int16_t>(reader.pageCount > 32767 ? 32767 : reader.pageCount);
  return reader.fileType;
}

HGLOBAL LoadWicPage(const char* path, int page, int wanted, int* fileType, int* pageCount,
                    int* bitsPerPixel) {
  IWICImagingFactory* factory = IKThreadImagingFactory();
  PageReader reader;
  if (!OpenPage(factory, path, page, &reader) ||
      (wanted != kIkFileUnknown && reader.fileType != wanted)) {
    return nullptr;
  }
  HGLOBAL image = DecodePage(factory, reader.frame.get());
  if (!image) return nullptr;
  WICPixelFormatGUID format;
  reader.frame->GetPixelFormat(&format);
  if (fileType) *fileType = reader.fileType;
  if (pageCount) *pageCount = static_cast<int>(reader.pageCount);
  if (bitsPerPixel) *bitsPerPixel = BitsPerPixelOf(factory, format);
  return image;
}

bool WriteWicFile(const char* path, const ImageLock& image, SaveFormat format,
                  const char* appendTo, int compression) {
  IWICImagingFactory* factory = IKThreadImagingFactory();
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapEncoder> encoder;
  const GUID container =
      format == SaveFormat::kBmp ? GUID_ContainerFormatBmp : GUID_ContainerFormatTiff;
  return factory && SUCCEEDED(factory->CreateStream(stream.put())) &&
         SUCCEEDED(stream->InitializeFromFilename(WidePath(path).c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.put())) &&
         SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
         (!appendTo || CopyPages(factory, encoder.get(), appendTo, compression)) &&
         EncodePage(factory, encoder.get(), image, format, compression) &&
         SUCCEEDED(encoder->Commit());
}
