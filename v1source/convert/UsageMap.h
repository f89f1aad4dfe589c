#pragma once

#include <QByteArray>
#include <functional>

#include "v1source/convert/ConversionError.h"
#include "v1source/convert/JetFile.h"

namespace qalvoro::v1 {

// The map of pages that a table owns: either a bitmap inline in the map
// (kind 0) or a list of bitmap pages (kind 1).
class UsageMap {
 public:
  // Throws ReadError when the map is missing, too short or of an unknown kind.
  UsageMap(JetFile& file, QByteArray map);

  // Calls visit(page) for every page the map marks, in ascending order. A
  // marked page beyond the file's end, or a bitmap page that is not one, is
  // damage: it is met (see Damage) and passed by.
  void forEachPage(const std::function<void(quint32)>& visit, Damage& damage) const;

 private:
  void visitBitmap(std::span<const uint8_t> bitmap, quint32 firstPage,
                   const std::function<void(quint32)>& visit, Damage& damage) const;
  void visitBitmapPages(const std::function<void(quint32)>& visit, Damage& damage) const;

  JetFile& file_;
  QByteArray map_;
};

}  // namespace qalvoro::v1
