#pragma once

#include <QByteArray>
#include <vector>

#include "tools/mdbwriter/JetFormat.h"
#include "tools/mdbwriter/PageFile.h"

namespace qalvoro::mdbwriter {

// The record listing the pages a table owns. It names bitmap pages (type 0x05),
// each a bitmap of a run of the file's pages; they are written here.
QByteArray writeOwnedPagesMap(PageFile& file, const JetFormat& format,
                              const std::vector<quint32>& pages);

// The record listing a table's pages with free space: none, so that rows added
// later go to new pages.
QByteArray noFreeSpaceMap(const JetFormat& format);

}  // namespace qalvoro::mdbwriter
