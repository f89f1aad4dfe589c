#pragma once

#include <QtGlobal>

namespace qalvoro::mdbwriter {

enum class JetVersion { Jet3, Jet4 };

// Page geometry and record offsets that differ between the two Jet formats.
struct JetFormat {
  JetVersion version;
  int pageSize;
  int rowCountOffset;    // data pages: offset of the row count; row offsets follow it
  int tableBlockOffset;  // table-definition pages: offset of the table-type byte
  int columnEntrySize;   // bytes per column descriptor in a table definition
  int usageMapRowSize;   // bytes of one usage-map record

  bool isJet4() const { return version == JetVersion::Jet4; }
  int dataHeaderSize() const { return rowCountOffset + 2; }
  // Largest record that fits alone on a data or long-value page.
  int maxRowSize() const { return pageSize - dataHeaderSize() - 2; }
  // Pages covered by one usage-bitmap page (type 0x05).
  int pagesPerBitmapPage() const { return (pageSize - 4) * 8; }

  static const JetFormat& of(JetVersion version);
};

}  // namespace qalvoro::mdbwriter
