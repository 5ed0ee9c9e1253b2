#pragma once

#include "puzzlesettings.h"

// The settings with all six numbers and the smallest clue font taken through their fields
// (numberFieldValue), as the window draws with them after opening a document.
PuzzleSettings settingsThroughFields(PuzzleSettings settings);

// The font a font dialog holds after a document's font record was given to it: every field of the
// record, except that a record without a face name leaves the dialog's face as it was and that the
// dialog keeps the pixels per inch it was made for. The size in points is the stored one; when both
// resolutions agree it goes through the character height, which the dialog's font keeps then.
FontDescription fontThroughDialog(const FontDescription &dialogFont, const FontDescription &stored);
