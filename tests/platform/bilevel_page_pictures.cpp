#include "tests/platform/bilevel_page_pictures.h"

#include <string>

BilevelPage PageOf(const Picture& picture, int dpi) {
  BilevelPage page;
  page.height = static_cast<int32_t>(picture.size());
  page.width = picture.empty() ? 0 : static_cast<int32_t>(picture[0].size());
  page.xDpi = page.yDpi = dpi;
  page.rowBytes = (static_cast<std::size_t>(page.width) + 7) / 8;
  page.rows.assign(page.rowBytes * page.height, 0);
  for (int y = 0; y < page.height; ++y) {
    for (int x = 0; x < page.width; ++x) {
      if (picture[y][x] == '#') page.rows[y * page.rowBytes + x / 8] |= uint8_t(0x80 >> (x % 8));
    }
  }
  return page;
}

Picture PictureOfPage(const BilevelPage& page) {
  Picture picture(page.height, std::string(page.width, '.'));
  for (int y = 0; y < page.height; ++y) {
    for (int x = 0; x < page.width; ++x) {
      if ((page.rows[y * page.rowBytes + x / 8] << (x % 8)) & 0x80) picture[y][x] = '#';
    }
  }
  return picture;
}
