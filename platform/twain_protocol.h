// The TWAIN protocol as the source managers (TWAINDSM.dll, twain_32.dll)
// and their data sources speak it on Windows: the records, packed to 2
// bytes, and the codes the scanner calls use. Shared by the scanner of the
// imaging library and the test data source.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

using TwUInt16 = uint16_t;
using TwUInt32 = uint32_t;
using TwBool = uint16_t;

#pragma pack(push, 2)

struct TwFix32 {
  int16_t whole;
  TwUInt16 fraction;
};

struct TwVersion {
  TwUInt16 majorNumber;
  TwUInt16 minorNumber;
  TwUInt16 language;
  TwUInt16 country;
  char info[34];
};

struct TwIdentity {
  TwUInt32 id;
  TwVersion version;
  TwUInt16 protocolMajor;
  TwUInt16 protocolMinor;
  TwUInt32 supportedGroups;
  char manufacturer[34];
  char productFamily[34];
  char productName[34];
};

struct TwUserInterface {
  TwBool showUi;
  TwBool modalUi;
  HANDLE parent;
};

struct TwCapability {
  TwUInt16 cap;
  TwUInt16 containerType;
  HANDLE container;
};

struct TwOneValue {
  TwUInt16 itemType;
  TwUInt32 item;
};

struct TwRange {
  TwUInt16 itemType;
  TwUInt32 minValue;
  TwUInt32 maxValue;
  TwUInt32 stepSize;
  TwUInt32 defaultValue;
  TwUInt32 currentValue;
};

struct TwEnumeration {
  TwUInt16 itemType;
  TwUInt32 numItems;
  TwUInt32 currentIndex;
  TwUInt32 defaultIndex;
  uint8_t itemList[1];  // numItems items of itemType, each 4 bytes here
};

struct TwEvent {
  void* event;  // the MSG
  TwUInt16 message;
};

struct TwPendingXfers {
  TwUInt16 count;
  TwUInt32 endOfJob;
};

struct TwStatus {
  TwUInt16 conditionCode;
  TwUInt16 reserved;
};

struct TwImageInfo {
  TwFix32 xResolution;
  TwFix32 yResolution;
  int32_t imageWidth;
  int32_t imageLength;
  int16_t samplesPerPixel;
  int16_t bitsPerSample[8];
  int16_t bitsPerPixel;
  TwBool planar;
  int16_t pixelType;
  TwUInt16 compression;
};

struct TwSetupMemXfer {
  TwUInt32 minBufSize;
  TwUInt32 maxBufSize;
  TwUInt32 preferred;
};

struct TwMemory {
  TwUInt32 flags;
  TwUInt32 length;
  void* memory;
};

struct TwImageMemXfer {
  TwUInt16 compression;
  TwUInt32 bytesPerRow;
  TwUInt32 columns;
  TwUInt32 rows;
  TwUInt32 xOffset;
  TwUInt32 yOffset;
  TwUInt32 bytesWritten;
  TwMemory memory;
};

#pragma pack(pop)

using DsmEntryProc = TwUInt16(WINAPI*)(TwIdentity* origin, TwIdentity* destination,
                                       TwUInt32 group, TwUInt16 data, TwUInt16 message,
                                       void* payload);

// Data groups, data argument types and messages.
enum : TwUInt32 { kDgControl = 0x1, kDgImage = 0x2 };
enum : TwUInt16 {
  kDatNull = 0x0000,
  kDatCapability = 0x0001,
  kDatEvent = 0x0002,
  kDatIdentity = 0x0003,
  kDatParent = 0x0004,
  kDatPendingXfers = 0x0005,
  kDatSetupMemXfer = 0x0006,
  kDatStatus = 0x0008,
  kDatUserInterface = 0x0009,
  kDatImageInfo = 0x0101,
  kDatImageMemXfer = 0x0103,
  kDatImageNativeXfer = 0x0104,
};
enum : TwUInt16 {
  kMsgNull = 0x0000,
  kMsgGet = 0x0001,
  kMsgGetCurrent = 0x0002,
  kMsgGetDefault = 0x0003,
  kMsgGetFirst = 0x0004,
  kMsgGetNext = 0x0005,
  kMsgSet = 0x0006,
  kMsgReset = 0x0007,
  kMsgXferReady = 0x0101,
  kMsgCloseDsReq = 0x0102,
  kMsgCloseDsOk = 0x0103,
  kMsgOpenDsm = 0x0301,
  kMsgCloseDsm = 0x0302,
  kMsgOpenDs = 0x0401,
  kMsgCloseDs = 0x0402,
  kMsgDisableDs = 0x0501,
  kMsgEnableDs = 0x0502,
  kMsgProcessEvent = 0x0601,
  kMsgEndXfer = 0x0701,
};

// Return codes and condition codes.
enum : TwUInt16 {
  kTwrcSuccess = 0,
  kTwrcFailure = 1,
  kTwrcCheckStatus = 2,
  kTwrcCancel = 3,
  kTwrcDsEvent = 4,
  kTwrcNotDsEvent = 5,
  kTwrcXferDone = 6,
  kTwrcEndOfList = 7,
};
enum : TwUInt16 {
  kTwccSuccess = 0,
  kTwccBummer = 1,
  kTwccLowMemory = 2,
  kTwccNoDs = 3,
  kTwccOperationError = 5,
  kTwccBadCap = 6,
  kTwccBadProtocol = 9,
  kTwccBadValue = 10,
  kTwccSeqError = 11,
  kTwccBadDest = 12,
  kTwccCapUnsupported = 13,
  kTwccPaperJam = 20,
};

// Containers and item types.
enum : TwUInt16 {
  kTwonArray = 3,
  kTwonEnumeration = 4,
  kTwonOneValue = 5,
  kTwonRange = 6,
};
enum : TwUInt16 {
  kTwtyInt16 = 1,
  kTwtyInt32 = 2,
  kTwtyUInt16 = 4,
  kTwtyUInt32 = 5,
  kTwtyBool = 6,
  kTwtyFix32 = 7,
};

// Capabilities.
enum : TwUInt16 {
  kCapXferCount = 0x0001,
  kIcapPixelType = 0x0101,
  kIcapXferMech = 0x0103,
  kCapFeederEnabled = 0x1002,
  kCapFeederLoaded = 0x1003,
  kCapDuplexEnabled = 0x1013,
  kIcapBrightness = 0x1101,
  kIcapXResolution = 0x1118,
  kIcapYResolution = 0x1119,
};
enum : TwUInt16 { kTwptBlackWhite = 0 };
enum : TwUInt16 { kTwsxNative = 0, kTwsxMemory = 2 };
enum : TwUInt32 { kTwmfAppOwns = 0x1, kTwmfPointer = 0x8 };

constexpr TwUInt16 kTwainProtocolMajor = 1;
constexpr TwUInt16 kTwainProtocolMinor = 9;
constexpr TwUInt32 kDfAppOrDsGroups = kDgControl | kDgImage;

inline double Fix32Value(TwFix32 value) { return value.whole + value.fraction / 65536.0; }
inline TwFix32 Fix32Of(double value) {
  const long scaled = static_cast<long>(value * 65536.0 + (value < 0 ? -0.5 : 0.5));
  return {static_cast<int16_t>(scaled >> 16), static_cast<TwUInt16>(scaled & 0xFFFF)};
}
// A 32-bit container item as the value it holds.
inline double ItemValue(TwUInt16 itemType, TwUInt32 item) {
  switch (itemType) {
    case kTwtyFix32: {
      TwFix32 fix;
      static_assert(sizeof fix == sizeof item);
      std::memcpy(&fix, &item, sizeof fix);
      return Fix32Value(fix);
    }
    case kTwtyInt16: return static_cast<int16_t>(item & 0xFFFF);
    case kTwtyInt32: return static_cast<int32_t>(item);
    case kTwtyUInt16:
    case kTwtyBool: return item & 0xFFFF;
    default: return item;
  }
}
inline TwUInt32 Fix32Item(double value) {
  const TwFix32 fix = Fix32Of(value);
  TwUInt32 item;
  std::memcpy(&item, &fix, sizeof item);
  return item;
}
