#include "v1source/convert/UsageMap.h"

#include <algorithm>
#include <vector>

#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {
namespace {

constexpr int kMapHeaderSize = 5;  // kind byte and first page (kind 0)
constexpr uint8_t kInlineBitmap = 0;
constexpr uint8_t kBitmapPages = 1;
constexpr uint8_t kUsageMapPageType = 0x05;
constexpr int kBitmapPageHeaderSize = 4;

const uint8_t* bytes(const QByteArray& data) {
  return reinterpret_cast<const uint8_t*>(data.constData());
}

}  // namespace

UsageMap::UsageMap(JetFile& file, QByteArray map) : file_(file), map_(std::move(map)) {
  if (map_.size() < kMapHeaderSize) throw ReadError(QStringLiteral("usage map is missing"));
  const auto kind = uint8_t(map_.at(0));
  if (kind != kInlineBitmap && kind != kBitmapPages) {
    throw ReadError(QStringLiteral("usage map is of unknown kind %1").arg(kind));
  }
}

void UsageMap::forEachPage(const std::function<void(quint32)>& visit, Damage& damage) const {
  if (uint8_t(map_.at(0)) == kInlineBitmap) {
    const auto bitmap =
        std::span(bytes(map_) + kMapHeaderSize, size_t(map_.size() - kMapHeaderSize));
    visitBitmap(bitmap, readU32(bytes(map_) + 1), visit, damage);
  } else {
    visitBitmapPages(visit, damage);
  }
}

void UsageMap::visitBitmap(std::span<const uint8_t> bitmap, quint32 firstPage,
                           const std::function<void(quint32)>& visit, Damage& damage) const {
  for (size_t byte = 0; byte < bitmap.size(); ++byte) {
    if (bitmap[byte] == 0) continue;
    for (int bit = 0; bit < 8; ++bit) {
      if ((bitmap[byte] & (1 << bit)) == 0) continue;
      const quint64 page = quint64(firstPage) + byte * 8 + bit;
      if (page >= file_.pageCount()) {
        // The pages that follow lie beyond the end as well.
        damage.meet(ReadError(
            QStringLiteral("usage map names page %1 beyond the end of the file").arg(page)));
        return;
      }
      visit(quint32(page));
    }
  }
}

void UsageMap::visitBitmapPages(const std::function<void(quint32)>& visit, Damage& damage) const {
  const int bitmapSize = file_.pageSize() - kBitmapPageHeaderSize;
  const int entries = int((map_.size() - 1) / 4);
  std::vector<uint8_t> bitmap(size_t(bitmapSize), 0);
  for (int entry = 0; entry < entries; ++entry) {
    const quint32 mapPage = readU32(bytes(map_) + 1 + 4 * entry);
    if (mapPage == 0) continue;
    try {
      const auto page = file_.loadSidePage(mapPage);
      if (page[0] != kUsageMapPageType) {
        throw ReadError(QStringLiteral("usage map page %1 is not a map page").arg(mapPage));
      }
      // The visitor reads pages, so the bitmap is copied out of the side buffer.
      std::copy_n(page.data() + kBitmapPageHeaderSize, bitmapSize, bitmap.begin());
    } catch (const ReadError& error) {
      damage.meet(error);
      continue;
    }
    visitBitmap(bitmap, quint32(quint64(entry) * bitmapSize * 8), visit, damage);
  }
}

}  // namespace qalvoro::v1
