#pragma once
// A dialog template in the binary form the system's dialog manager builds windows from
// (DLGTEMPLATEEX), made in memory from a template of resources/.

#include <windows.h>

#include <vector>

#include "ui/dialog_template.h"

namespace lumisk::ui {

// How much wider the template's font really is than the dialog manager's horizontal unit takes
// it to be. The manager rounds the font's mean letter width to whole pixels, while text is drawn
// at its exact widths: Arial 8 pt has 6.41 px letters taken as 6, so boxes come out 6 % narrower
// than the texts they were made for. Never below 1; 1 when the font cannot be measured.
double LetterWidthCorrection(const DialogTemplate& dialogTemplate);

// The template's bytes, DWORD-aligned as DialogBoxIndirectParam needs them, with horizontal
// positions and widths multiplied by `widthScale`. Controls of a class the system has no
// counterpart for are left out.
std::vector<DWORD> BuildDialogTemplate(const DialogTemplate& dialogTemplate,
                                       double widthScale = 1.0);

}  // namespace lumisk::ui
