// The entry points of the imaging library that sheetdesk fetches at
// start-up, by library in the order they are fetched. Most are never called;
// they are bound so that the table matches the libraries entry for entry.
#pragma once

#include <string_view>

constexpr int kImageKitLibraryCount = 5;
constexpr int kImageKitEntryCount = 238;

// Files of the five libraries, in loading order, and how many entries of
// the table each one gives.
constexpr const char* kImageKitLibraryFiles[kImageKitLibraryCount] = {
    "IK7COM.DLL", "IK7FILE.DLL", "IK7SCAN.DLL", "IK7PRINT.DLL", "IK7EFFECT.DLL"};
constexpr int kImageKitLibraryEntries[kImageKitLibraryCount] = {25, 95, 16, 51, 51};

constexpr std::string_view kImageKitEntryNames[kImageKitEntryCount] = {
    // IK7COM
    "IKBitmapFromDib", "IKClearClipBrd", "IKCopyImage", "IKBitBlt", "IKStretchBlt",
    "IKCreateImage", "IKDeleteBitmapObject", "IKDibFromBitmap", "IKFreeMemory", "IKGetDpi",
    "IKGetDpiFromHdc", "IKGetErrorStatus", "IKGetFromClipBrd", "IKGetImageType",
    "IKGetMemorySize", "IKGetOneBitPalCount", "IKGetPalette", "IKGetSystemPalette",
    "IKIsClipBrdData", "IKResizeRefine1BitImage", "IKSetDpi", "IKSetPalette", "IKSetToClipBrd",
    "IKGetDpiF", "IKSetDpiF",
    // IK7FILE
    "IKFileLoadAsRawData", "IKFileSaveAsRawData", "IKFileLoad", "IKFileType",
    "IKOpenFileDialog", "IKOpenFileDlg", "IKSaveFileDialog", "IKSaveFileDlg", "IKSaveFileDlgEx",
    "IKFTPGetFile", "IKFTPPutFile", "IKFTPDeleteFile", "IKFTPRenameFile", "IKHTTPGetFile",
    "IKHTTPPutFile", "IKBmpFileLoad", "IKBmpFileSave", "IKJpegFileLoad", "IKJpegFileSave",
    "IKJpegExifInfo", "IKGifFileLoad", "IKGifFileSave", "IKTiffFileLoad", "IKTiffFileSave",
    "IKPngFileLoad", "IKPngFileLoadEx", "IKPngFileSave", "IKPngFileSaveEx", "IKFpxFileLoad",
    "IKFpxFileSave", "IKPcxFileLoad", "IKPcxFileSave", "IKWmfFileLoad", "IKWmfFileSave",
    "IKEmfFileLoad", "IKEmfFileSave", "IKDxfFileLoad", "IKDxfFileSave", "IKSvgFileLoad",
    "IKSvgFileSave", "IKJ2kFileLoad", "IKJ2kFileSave", "IKSxfP21FileLoad", "IKSxfP21FileSave",
    "IKSxfSfcFileLoad", "IKSxfSfcFileSave", "IKRGBBmpPlaneFileLoad", "IKRGBBmpPlaneFileSave",
    "IKCMYKBmpPlaneFileLoad", "IKCMYKBmpPlaneFileSave", "IKYCCBmpPlaneFileLoad",
    "IKYCCBmpPlaneFileSave", "IKFileLoadMem", "IKFileTypeMem", "IKBmpFileLoadMem",
    "IKBmpFileSaveMem", "IKJpegFileLoadMem", "IKJpegFileSaveMem", "IKJpegExifInfoMem",
    "IKGifFileLoadMem", "IKGifFileSaveMem", "IKTiffFileLoadMem", "IKTiffFileSaveMem",
    "IKPngFileLoadMem", "IKPngFileLoadExMem", "IKPngFileSaveMem", "IKPngFileSaveExMem",
    "IKFpxFileLoadMem", "IKFpxFileSaveMem", "IKPcxFileLoadMem", "IKPcxFileSaveMem",
    "IKWmfFileLoadMem", "IKWmfFileSaveMem", "IKEmfFileLoadMem", "IKEmfFileSaveMem",
    "IKDxfFileLoadMem", "IKDxfFileSaveMem", "IKSvgFileLoadMem", "IKSvgFileSaveMem",
    "IKJ2kFileLoadMem", "IKJ2kFileSaveMem", "IKSxfP21FileLoadMem", "IKSxfP21FileSaveMem",
    "IKSxfSfcFileLoadMem", "IKSxfSfcFileSaveMem", "IKFTPConnect", "IKFTPDisconnect",
    "IKFTPGetFileEx", "IKFTPPutFileEx", "IKFTPDeleteFileEx", "IKFTPRenameFileEx",
    "IKHTTPConnect", "IKHTTPDisconnect", "IKHTTPGetFileEx", "IKHTTPPutFileEx",
    // IK7SCAN
    "IKScanCloseDS", "IKScanExec", "IKScanGetBitDepth", "IKScanGetCapEnum", "IKScanGetCapRange",
    "IKScanGetDSInfo", "IKScanGetMinimumSize", "IKScanGetPhysicalSize", "IKScanGetPixelType",
    "IKScanInitialize", "IKScanIsCapSupported", "IKScanList", "IKScanListLen", "IKScanOpenDS",
    "IKScanSelect", "IKScanTerminate",
    // IK7PRINT
    "IKArc", "IKChord", "IKDrawText", "IKEllipse", "IKEnumPrinters", "IKFillRect",
    "IKGetDevModeHandle", "IKGetDevModeInfo", "IKGetImageFromHdc", "IKGetPaperSize",
    "IKGetPixel", "IKGetPrinterPort", "IKGetTextExtent", "IKImageOut", "IKImageOutToHwnd",
    "IKLine", "IKPaint", "IKPie", "IKPolygon", "IKPolyline", "IKPreviewInit", "IKPrintAbortDoc",
    "IKPrintCreateDC", "IKPrintDeleteDC", "IKPrintDlg", "IKPrintEndDoc", "IKPrintEndPage",
    "IKPrintStartDoc", "IKPrintStartPage", "IKRectangle", "IKReleaseDevModeHandle",
    "IKRoundRect", "IKSetDevModeInfo", "IKSetPixel", "IKSetPrint", "IKTextOut", "IKEnumPorts",
    "IKPolyBezier", "IKFrameRect", "IKDrawFocusRect", "IKEnumPaperSizes", "IKEnumPaperBins",
    "IKEnumResolutions", "IKPrintGetArrayNum", "IKGetDefaultPrinter", "IKSetDefaultPrinter",
    "IKDrawString", "IKMeasureString", "IKSaveDevModeHandle", "IKPrintGdipEnd",
    "IKPrintGdipStart",
    // IK7EFFECT
    "IKAffine", "IKAntiAlias", "IKAutoSelectImageEx", "IKBlur", "IKCanvas",
    "IKCheckSecretImage", "IKChroma", "IKConvertColor", "IKCustomFilter", "IKCutRectImage",
    "IKEmboss", "IKEndDibAccess", "IKGetDibPixel", "IKGlassTile", "IKLayer", "IKLayerEx",
    "IKLens", "IKMakeRGBAImage", "IKMosaic", "IKMotionBlur", "IKOilPaint", "IKOutline",
    "IKPanorama", "IKPasteImage", "IKRemoveNoise", "IKResizeEx", "IKRGBGamma", "IKRGBLevel",
    "IKRGBRev", "IKRGBSpline", "IKRipple", "IKRotationEx", "IKSelectImageEx", "IKSetDibPixel",
    "IKSetGray", "IKSetSecretImage", "IKSharp", "IKSplitRGBAImage", "IKStartDibAccess",
    "IKUnifyColor", "IKWaves", "IKWhirlPinch", "IKYCCGamma", "IKYCCLevel", "IKYCCRev",
    "IKYCCSpline", "IKAutoSelectImage", "IKResize", "IKRotation", "IKSelectImage",
    "IKRedEyeRemoval",
};

// Index of an entry in the table, -1 for a name that is not there.
constexpr int ImageKitEntryIndex(std::string_view name) {
  for (int i = 0; i < kImageKitEntryCount; ++i) {
    if (kImageKitEntryNames[i] == name) return i;
  }
  return -1;
}
