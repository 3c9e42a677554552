// Dictionary exports: load, unload, find and describe pattern dictionaries and
// choose the character types a dictionary reads, with the header check and
// the character-type routines the recognisers also use.
//
// A dictionary is known by its upper-cased path (Shift-JIS aware), but its
// file is always opened by the caller's own path: file systems that tell
// case apart would not find the upper-cased name.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "foundation/sjis_text.h"
#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"

namespace {

int Fail(uint16_t code) {
  PushErrorCode(code);
  return -9;
}

// Copies the path into the 512-byte `name`, upper-casing ASCII letters and
// leaving double-byte characters as they are: every lead byte of code page
// 932 counts, the extension characters of 0xED-0xEE and 0xFA-0xFC included,
// so that a trail byte that reads as a small letter keeps two such names
// apart. 7001 for a path of more than 511 bytes.
int UppercaseDictPath(const char* path, char (&name)[kDictNameBytes]) {
  const size_t length = std::strlen(path);
  if (length >= kDictNameBytes) return Fail(kErrBadArgument);
  std::memset(name, 0, sizeof name);
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsSjisLeadByte(c) && i + 1 < length) {
      name[i] = path[i];
      ++i;
      name[i] = path[i];
    } else {
      name[i] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
  }
  return 0;
}

bool NamesEqual(const char* a, const char* b) { return std::memcmp(a, b, kDictNameBytes) == 0; }

// 0 when a slot holds the name (free slots hold the empty name), else -9.
int IsDictNameLoaded(const char (&name)[kDictNameBytes]) {
  for (const MupaPatternDict& dict : g_patternDicts) {
    if (NamesEqual(dict.name, name)) return 0;
  }
  return -9;
}

uint16_t FindDictByName(const char (&name)[kDictNameBytes]) {
  for (int d = 0; d < kMaxDicts; ++d) {
    if (g_patternDicts[d].state == kSlotInUse && NamesEqual(g_patternDicts[d].name, name)) {
      return static_cast<uint16_t>(d);
    }
  }
  return kNoSlot;
}

int CloseDictFile(FILE* file) { return std::fclose(file) == 0 ? 0 : Fail(kErrDictClose); }

int CheckDictFileReadable(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return Fail(kErrDictOpen);
  return CloseDictFile(file);
}

// Reads the first `bytes` of the file into a zero-filled 160-byte buffer.
int ReadDictStart(const char* path, size_t bytes, uint8_t (&buffer)[kDictMaskReadBytes]) {
  std::memset(buffer, 0, sizeof buffer);
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return Fail(kErrDictOpen);
  const bool complete = std::fread(buffer, 1, bytes, file) == bytes;
  if (!complete) PushErrorCode(kErrDictRead);
  if (CloseDictFile(file) != 0 || !complete) return -9;
  return 0;
}

int ReadDictCharTypeMask(const char* path, uint32_t* mask) {
  uint8_t start[kDictMaskReadBytes];
  if (ReadDictStart(path, kDictMaskReadBytes, start) != 0) return -9;
  *mask = GetU32(start + 144);
  return 0;
}

int ReadDictHeaderInfo(const char* path, MupaDictInfo* info) {
  ClearErrorStack();
  uint8_t start[kDictMaskReadBytes];
  if (ReadDictStart(path, kDictInfoHeaderBytes, start) != 0) return -9;
  PatternDictHeader header;
  DecodeDictHeader(start, &header);
  if (CheckDictHeader(header) != 0) return -9;
  info->version = header.version;
  info->format = static_cast<uint16_t>(header.formatMajor << 8 | header.formatMinor);
  info->kind = header.kind;
  info->headerByte7 = header.headerByte7;
  info->headerByte8 = header.headerByte8;
  std::memcpy(info->description, header.description, sizeof info->description);
  return 0;
}

struct BlockDeleter {
  void operator()(DictBlock* block) const { ::operator delete(block, std::nothrow); }
};

int LoadIntoFreeSlot(int handle, const char* path, const char (&name)[kDictNameBytes]) {
  if (CheckDictFileReadable(path) != 0) return -9;
  const uint16_t slot = FindFreeDictSlot();
  if (slot == kNoSlot) return Fail(kErrNoFreeDict);
  size_t size = 0;
  if (ComputeDictSize(path, 0, &size) != 0) return -9;
  std::unique_ptr<DictBlock, BlockDeleter> block(
      static_cast<DictBlock*>(::operator new(size, std::nothrow)));
  if (!block) return Fail(kErrNoMemory);
  uint32_t offered = 0;
  if (LoadDictFile(path, block.get(), size) != 0) return -9;
  if (ReadDictCharTypeMask(path, &offered) != 0) return -9;
  FillDictSlot(slot, handle, offered, name, block.release());
  return 0;
}

}  // namespace

int GetCharTypeMasks(const DictBlock* dict, uint32_t* offered, uint32_t* current) {
  ClearErrorStack();
  if (CheckDictHeader(dict->header) != 0) return -9;
  if (dict->header.kind != 1) return Fail(kErrNoCharTypes);
  *offered = dict->header.offeredTypes;
  *current = dict->header.currentTypes;
  return 0;
}

int SetCharTypeMask(DictBlock* dict, uint32_t mask) {
  ClearErrorStack();
  if (mask == 0) return Fail(kErrMissingValue);
  if (CheckDictHeader(dict->header) != 0) return -9;
  if (dict->header.kind != 1) return Fail(kErrNoCharTypes);
  dict->header.currentTypes = mask;
  if ((dict->header.offeredTypes & mask) != mask) {
    PushErrorCode(kErrTypesNotOffered);
    return -1;
  }
  return 0;
}

MUPA_API int16_t MUPA_CALL MupaLoadPatternDict(int16_t handle, const char* path) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  char name[kDictNameBytes];
  int rc = path == nullptr ? Fail(kErrBadArgument) : UppercaseDictPath(path, name);
  if (rc == 0 && IsDictNameLoaded(name) == 0) rc = Fail(kErrDictLoaded);
  if (rc == 0) rc = LoadIntoFreeSlot(handle, path, name);
  return EndExport(handle, rc == 0 ? 0 : -9);
}

MUPA_API int16_t MUPA_CALL MupaUnloadPatternDict(int16_t handle, int16_t dictionary) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  int rc = CheckDictHandle(handle, dictionary);
  if (rc == 0 && IsDictInUse(dictionary) != 0) rc = Fail(kErrDictInUse);
  if (rc == 0) ClearDictSlot(dictionary);
  return EndExport(handle, rc == 0 ? 0 : -9);
}

// Every failure returns -10; the file must still be readable.
MUPA_API int16_t MUPA_CALL MupaGetDictHandle(int16_t handle, const char* path) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  char name[kDictNameBytes];
  int rc = path == nullptr ? Fail(kErrBadArgument) : UppercaseDictPath(path, name);
  if (rc == 0) rc = CheckDictFileReadable(path);
  uint16_t dictionary = kNoSlot;
  if (rc == 0) dictionary = FindDictByName(name);
  if (rc == 0 && dictionary == kNoSlot) rc = Fail(kErrDictNotOwned);
  return EndExport(handle, rc == 0 ? static_cast<int16_t>(dictionary) : -10);
}

// Bytes 1 and 7 of the caller's record are not written.
MUPA_API int16_t MUPA_CALL MupaGetDictInfo(int16_t handle, const char* path,
                                           MupaDictInfo* info) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  char name[kDictNameBytes];
  int rc = path == nullptr || info == nullptr ? Fail(kErrBadArgument)
                                              : UppercaseDictPath(path, name);
  if (rc == 0) rc = CheckDictFileReadable(path);
  MupaDictInfo read;
  if (rc == 0) rc = ReadDictHeaderInfo(path, &read);
  if (rc == 0) {
    info->version = read.version;
    info->format = read.format;
    info->kind = read.kind;
    info->headerByte7 = read.headerByte7;
    info->headerByte8 = read.headerByte8;
    std::memcpy(info->description, read.description, sizeof info->description);
  }
  return EndExport(handle, rc == 0 ? 0 : -9);
}

// A mask with types the dictionary does not offer is stored; the call then
// succeeds with warning 7, which MupaGetError reports.
MUPA_API int16_t MUPA_CALL MupaSetCharType(int16_t handle, int16_t dictionary, uint32_t mask) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  int rc = CheckDictHandle(handle, dictionary);
  if (rc == 0) rc = SetCharTypeMask(GetDictData(dictionary), mask);
  return EndExport(handle, rc == -9 ? -9 : 0);
}

MUPA_API int16_t MUPA_CALL MupaGetCharType(int16_t handle, int16_t dictionary,
                                           uint32_t* offered, uint32_t* current) {
  ClearErrorStack();
  if (CheckSessionHandle(handle) != 0) return -10;
  int rc = CheckDictHandle(handle, dictionary);
  if (rc == 0 && (offered == nullptr || current == nullptr)) rc = Fail(kErrBadArgument);
  if (rc == 0) rc = GetCharTypeMasks(GetDictData(dictionary), offered, current);
  return EndExport(handle, rc == 0 ? 0 : -9);
}
