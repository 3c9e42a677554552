/* The imaging benchmark's work as a plain C program does it natively: each
 * 1-bit A4 page of the benchmark (a BMP with 62 bytes of headers, rows
 * bottom-up, white as pixel value 1) is read whole into a buffer that serves
 * every page, turned a quarter anticlockwise 8 x 8 pixels at a time into
 * another and written as a new BMP. The baseline the imaging libraries are
 * measured against.
 *
 * Usage: imaging_native <page folder> <output folder> <pages>
 * Reads page_NNNN.bmp, writes turned_NNNN.bmp; prints pages per second. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { kHeaderBytes = 62 };

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + t.tv_nsec / 1e9;
}

static uint32_t Get32(const uint8_t* p) {
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void Put32(uint8_t* p, uint32_t v) {
  p[0] = (uint8_t)v;
  p[1] = (uint8_t)(v >> 8);
  p[2] = (uint8_t)(v >> 16);
  p[3] = (uint8_t)(v >> 24);
}

/* A buffer that grows as needed and serves page after page. */
typedef struct {
  uint8_t* bytes;
  size_t size;
} Buffer;

static uint8_t* Room(Buffer* buffer, size_t size) {
  if (buffer->size < size) {
    free(buffer->bytes);
    buffer->bytes = malloc(size);
    buffer->size = buffer->bytes ? size : 0;
  }
  return buffer->bytes;
}

/* The whole file in `buffer`; its size, or -1 when it cannot be read. */
static long ReadWhole(const char* path, Buffer* buffer) {
  FILE* f = fopen(path, "rb");
  if (!f) return -1;
  fseek(f, 0, SEEK_END);
  long size = ftell(f);
  fseek(f, 0, SEEK_SET);
  uint8_t* data = size > 0 ? Room(buffer, (size_t)size) : NULL;
  if (!data || fread(data, 1, (size_t)size, f) != (size_t)size) size = -1;
  fclose(f);
  return size;
}

/* Byte k of the result (from the top) is column k of the 8 x 8 bit block
 * whose rows are the bytes of x, top row first. */
static uint64_t Transpose8(uint64_t x) {
  uint64_t t;
  t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
  x = x ^ t ^ (t << 7);
  t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
  x = x ^ t ^ (t << 14);
  t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
  return x ^ t ^ (t << 28);
}

/* Turns a width x height page (rows bottom-up, `inStride` bytes each) into
 * a height x width page (rows bottom-up, `outStride` bytes each). Source
 * row y from the top becomes target column y; source column x becomes
 * target row x from the bottom. */
static void QuarterTurn(const uint8_t* in, int width, int height, int inStride, uint8_t* out,
                        int outStride) {
  const int columnBytes = (width + 7) / 8;
  for (int y0 = 0; y0 < height; y0 += 8) {
    const uint8_t* rows[8];
    for (int j = 0; j < 8; ++j) {
      rows[j] = y0 + j < height ? in + (size_t)(height - 1 - (y0 + j)) * inStride : NULL;
    }
    for (int b = 0; b < columnBytes; ++b) {
      uint64_t block = 0;
      for (int j = 0; j < 8; ++j) block = block << 8 | (rows[j] ? rows[j][b] : 0xFF);
      block = Transpose8(block);
      for (int c = 0; c < 8 && 8 * b + c < width; ++c) {
        out[(size_t)(8 * b + c) * outStride + y0 / 8] = (uint8_t)(block >> (56 - 8 * c));
      }
    }
  }
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: %s <page folder> <output folder> <pages>\n", argv[0]);
    return 2;
  }
  const int pages = atoi(argv[3]);
  double load = 0, turn = 0, save = 0;
  Buffer page = {NULL, 0}, result = {NULL, 0};
  const double start = Now();
  for (int i = 0; i < pages; ++i) {
    char path[4096];
    snprintf(path, sizeof path, "%s/page_%04d.bmp", argv[1], i);
    double t = Now();
    const long size = ReadWhole(path, &page);
    const uint8_t* file = page.bytes;
    if (size < kHeaderBytes) {
      fprintf(stderr, "%s: cannot read\n", path);
      return 1;
    }
    const uint32_t offset = Get32(file + 10);
    const int width = (int)Get32(file + 18);
    const int height = (int)Get32(file + 22);
    const int inStride = (width + 31) / 32 * 4;
    const int outStride = (height + 31) / 32 * 4;
    load += Now() - t;

    t = Now();
    const size_t outBytes = (size_t)outStride * width;
    uint8_t* turned = Room(&result, kHeaderBytes + outBytes);
    if (!turned) {
      fprintf(stderr, "out of memory\n");
      return 1;
    }
    memcpy(turned, file, kHeaderBytes);
    Put32(turned + 2, (uint32_t)(kHeaderBytes + outBytes));
    Put32(turned + 10, kHeaderBytes);
    Put32(turned + 18, (uint32_t)height);
    Put32(turned + 22, (uint32_t)width);
    Put32(turned + 34, (uint32_t)outBytes);
    QuarterTurn(file + offset, width, height, inStride, turned + kHeaderBytes, outStride);
    turn += Now() - t;

    t = Now();
    snprintf(path, sizeof path, "%s/turned_%04d.bmp", argv[2], i);
    FILE* out = fopen(path, "wb");
    if (!out || fwrite(turned, 1, kHeaderBytes + outBytes, out) != kHeaderBytes + outBytes ||
        fclose(out) != 0) {
      fprintf(stderr, "%s: cannot write\n", path);
      return 1;
    }
    save += Now() - t;
  }
  free(page.bytes);
  free(result.bytes);
  const double total = Now() - start;
  printf("plain native program: %.1f pages/s (load %.0f, turn %.0f, save %.0f pages/s)\n",
         pages / total, pages / load, pages / turn, pages / save);
  return 0;
}
