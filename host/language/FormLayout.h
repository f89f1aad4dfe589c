#pragma once

#include <QString>

namespace qalvoro {

class Form;

// Turns a window designed right to left into a left-to-right one: every
// control reads left to right, labels and option/check boxes swap their
// alignment, and controls are moved to their mirrored place on the window,
// in frames and on every page of tab controls; menus open to the right.
void MirrorForm(Form& window);
// Replaces the caption of the window and of its labels, buttons, check and
// option boxes, frames and menu items, the captions of tabs, and every
// tool tip, by their translations; a caption too long for its control gets
// a smaller font.
void TranslateForm(Form& window);
// When the language is "E": MirrorForm, then TranslateForm, as every
// window does while loading.
void ApplyLanguage(Form& window);
// Centres the window on the screen.
void CenterForm(Form& window);
// With setting "ChkFont" other than 1, gives the window and its controls
// the font of the system locale.
void SetFontForm(Form& window);

// The font of the system locale, decided on the first call.
void GetDefaultFont(QString& name, int& size, int& charset);
// Whether a font of that name is installed; name becomes the family the
// font system chose for it.
bool FontExists(QString& name);
// Character-set number of the system locale's code page; 0 when unknown.
int GetLocaleCharset();

// Primary language (low 10 bits) and sublanguage (above) of the system
// locale, numbered as the locale identifiers of the old products.
int SystemLocaleId();

}  // namespace qalvoro
