#pragma once

#include <QString>

namespace qalvoro {

// The language setting: "A" (Arabic, the default) or "E" (English).
QString GetLanguage();

// The English of an Arabic text, from the table Lang of LTR.DRV. In Arabic
// the text comes back unchanged. A text not yet in the table is added to it
// at once (with no English) and comes back unchanged; so is a text whose
// English is still empty. The English comes back with its blanks trimmed at
// both ends (an English of blanks only gives an empty text). Raises DbError when the table cannot
// be read or written.
QString Translate(const QString& text);

}  // namespace qalvoro
