// MUPA32: handwritten-character recognition library. The one header for
// clients.
//
// A client takes a library handle (MupaBegin), opens an execution
// environment, loads pattern dictionaries from files, registers one to the
// environment, chooses the character types to read and recognises one
// character, a field of cells or a line in a 1-bit image. Every export returns
// a signed 16-bit value: 0 (or a handle, id or count) for success, -9 for a
// failure whose codes MupaGetError reads right after the call, -10 for an
// invalid handle. All state is process-wide: calls must not overlap.
#pragma once

#include <cstdint>

// MUPA32.dll exports its names, undecorated, through its .def file, so the
// declarations need no storage-class attribute there; clients link the
// import library.
#if defined(_WIN32)
#define MUPA_API extern "C"
#define MUPA_CALL __stdcall
#else
#define MUPA_API extern "C" __attribute__((visibility("default")))
#define MUPA_CALL
#endif

// Image descriptor. 1 bit a pixel, the most significant bit leftmost; a set
// bit is ink unless `polarity` is 0, in which case the library inverts the
// bytes covering the rectangle for the duration of the call and restores them.
// `bits` is a native pointer: 16 bytes in a 32-bit build, 24 in a 64-bit one.
struct MupaImage {
  int16_t width;         // pixels, at least 1
  int16_t height;
  uint16_t bitsPerPixel; // 1
  int16_t bytesPerLine;  // row y starts at bits + y x bytesPerLine
  int16_t dpi;
  uint16_t polarity;     // 1 as it is, 0 inverted for the call
  uint8_t* bits;
};

// Inclusive rectangle.
struct MupaRect {
  int16_t left, top, right, bottom;
};
static_assert(sizeof(MupaRect) == 8, "MupaRect crosses the boundary as 8 bytes");

// Option block; the library reads bytes 0, 1 and 8 only.
struct MupaRecogOptions {
  uint8_t marker[2];  // both 1
  uint8_t unread1[6];
  uint8_t mode;       // 1..3; read only with a dictionary that is not
                      // pattern-only: 3 lets the pattern classifier arbitrate
                      // a structural answer, 1 limits the stroke attempts.
                      // The shipped dictionaries read alike in every mode.
  uint8_t unread2[7];
};

struct MupaCandidate {
  uint16_t code;   // Shift-JIS; 0xFFFF unused
  uint8_t score;
  uint8_t unwritten;
};

// Per-character result.
struct MupaCharResult {
  MupaCandidate candidates[10];  // best first
  uint8_t confidence;            // of the first candidate, 0..100
  uint8_t failed;                // 1 not recognised (box = input rectangle)
  MupaRect box;
  uint8_t unwritten[14];
};
static_assert(sizeof(MupaCharResult) == 64, "MupaCharResult is 64 bytes");

// What MupaGetDictInfo reports of a dictionary file's header.
struct MupaDictInfo {
  uint8_t version;
  uint8_t unwritten1;
  uint16_t format;  // major x 256 + minor
  uint8_t kind;
  uint8_t headerByte7;
  uint8_t headerByte8;
  uint8_t unwritten7;
  char description[128];
};
static_assert(sizeof(MupaDictInfo) == 136, "MupaDictInfo is 136 bytes");

// Library handles.
MUPA_API int16_t MUPA_CALL MupaBegin(void);
MUPA_API int16_t MUPA_CALL MupaEnd(int16_t handle);
MUPA_API int16_t MUPA_CALL MupaGetError(int16_t handle, uint16_t* codes, int16_t n);

// Dictionaries and environments.
MUPA_API int16_t MUPA_CALL MupaLoadPatternDict(int16_t handle, const char* path);
MUPA_API int16_t MUPA_CALL MupaUnloadPatternDict(int16_t handle, int16_t dictionary);
MUPA_API int16_t MUPA_CALL MupaGetDictHandle(int16_t handle, const char* path);
MUPA_API int16_t MUPA_CALL MupaGetDictInfo(int16_t handle, const char* path,
                                           MupaDictInfo* info);
MUPA_API int16_t MUPA_CALL MupaOpenExecEnv(int16_t handle, uint16_t mode);
MUPA_API int16_t MUPA_CALL MupaCloseExecEnv(int16_t handle, int16_t environment);
MUPA_API int16_t MUPA_CALL MupaRegisterPatternDict(int16_t handle, int16_t environment,
                                                   int16_t dictionary);
MUPA_API int16_t MUPA_CALL MupaCancelPatternDict(int16_t handle, int16_t environment,
                                                 int16_t dictionary);
MUPA_API int16_t MUPA_CALL MupaSetCharType(int16_t handle, int16_t dictionary,
                                           uint32_t mask);
MUPA_API int16_t MUPA_CALL MupaGetCharType(int16_t handle, int16_t dictionary,
                                           uint32_t* offered, uint32_t* current);

// Recognition. The dictionary registered to the environment and its current
// character types (MupaSetCharType) choose the recognisers. A pattern-only
// dictionary, as every one the build ships ("digits.dic", "capitals.dic",
// "katakana.dic"), is read by its pattern classifier alone, whatever the
// types and the mode; the stroke models "digits.dic" carries only split a
// line's digit box that nothing read and judge whether a wide digit box is
// one digit while a line is cut into boxes. A dictionary that is not
// pattern-only (hand-set stroke models) has digits first decided by
// structure rules; its type combinations that have stroke models are read
// by the structural recogniser (strokes matched against the models, each
// match confirmed by its class's shape check); other mixes with digits
// merge the pattern classifier's list with the structural one. Candidate
// lists are filled up to 10 with the characters most often confused with the
// answer; `confidence` is that of the first candidate, scores are 0. A
// character that nothing recognised has an empty list (0xFFFF) or only the
// look-alike characters, and is not a failure.
//
// One character in `rect`: 0, or -9.
MUPA_API int16_t MUPA_CALL MupaExecuteOneChar(int16_t handle, int16_t environment,
                                              MupaImage* image, const MupaRect* rect,
                                              const MupaRecogOptions* options,
                                              MupaCharResult* result);
// The characters of `cellCount` cells (an all-zero cell is a blank "　" with
// confidence 100), then an end record (code 0x000A, box around the recognised
// cells): *count = cells + 1 records. Capacity 1..100; with no room for the
// end record the call fails with code 2.
MUPA_API int16_t MUPA_CALL MupaExecuteFieldChar(int16_t handle, int16_t environment,
                                                MupaImage* image, const MupaRect* cells,
                                                uint16_t cellCount,
                                                const MupaRecogOptions* options,
                                                MupaCharResult* results,
                                                int16_t capacity, int16_t* count);
// The characters of a line, cut into boxes, each followed in order, then an
// end record (code 0x000A, box around all the line's ink; failed = 1 when a
// character was not recognised). Returns the number of records (characters
// + 1; 1 for a line without ink) with status 0, -1 on failure (status -9) or
// -10 (status -10). Capacity 2..100; a longer line is cut, its end record
// still written, and code 2 (14 at capacity 100) is left for MupaGetError.
MUPA_API int16_t MUPA_CALL MupaExecuteOneLine(int16_t handle, int16_t environment,
                                              MupaImage* image, const MupaRect* rect,
                                              const MupaRecogOptions* options,
                                              MupaCharResult* results, int16_t capacity,
                                              uint32_t reserved, uint16_t* status);
// The character boxes of a line, without recognition: `capacity` boxes are
// always written (those not found all zero), *count found.
MUPA_API int16_t MUPA_CALL MupaSegChar(int16_t handle, int16_t environment,
                                       MupaImage* image, const MupaRect* rect,
                                       const MupaRecogOptions* options, MupaRect* boxes,
                                       int16_t capacity, int16_t* count);
