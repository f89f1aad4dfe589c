#include "tools/mdbwriter/UsageMap.h"

#include <stdexcept>

#include "tools/mdbwriter/Bytes.h"

namespace qalvoro::mdbwriter {
namespace {

constexpr char kBitmapMap = 0x01;
constexpr char kInlineMap = 0x00;
constexpr char kBitmapPage = 0x05;

}  // namespace

QByteArray writeOwnedPagesMap(PageFile& file, const JetFormat& format,
                              const std::vector<quint32>& pages) {
  const quint32 perBitmap = static_cast<quint32>(format.pagesPerBitmapPage());
  const int slotCount = (format.usageMapRowSize - 1) / 4;
  QByteArray map(format.usageMapRowSize, '\0');
  map[0] = kBitmapMap;
  size_t next = 0;
  while (next < pages.size()) {
    const quint32 slot = pages[next] / perBitmap;
    if (slot >= static_cast<quint32>(slotCount)) throw std::length_error("database file too large");
    QByteArray bitmap(format.pageSize, '\0');
    bitmap[0] = kBitmapPage;
    bitmap[1] = 0x01;
    for (; next < pages.size() && pages[next] / perBitmap == slot; ++next) {
      const quint32 bit = pages[next] % perBitmap;
      bitmap[4 + bit / 8] |= static_cast<char>(1 << (bit % 8));
    }
    const quint32 bitmapPage = file.allocate();
    file.write(bitmapPage, bitmap);
    putLE(map, 1 + 4 * slot, bitmapPage);
  }
  return map;
}

QByteArray noFreeSpaceMap(const JetFormat& format) {
  QByteArray map(format.usageMapRowSize, '\0');
  map[0] = kInlineMap;
  return map;
}

}  // namespace qalvoro::mdbwriter
