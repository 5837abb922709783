#pragma once
// A dialog template in the binary form the system's dialog manager builds windows from
// (DLGTEMPLATEEX), made in memory from a template of resources/.

#include <windows.h>

#include <vector>

#include "ui/dialog_template.h"

namespace lumisk::ui {

// A span of a box, start and length, multiplied by `scale`: both edges are rounded, so that boxes
// that touch keep touching.
struct Span {
    int start;
    int length;
};
Span Scaled(int start, int length, double scale);

// Whether the system has a counterpart for the control's class; the others are left out of the
// built template.
bool IsBuilt(const ControlTemplate& control);

// The template's bytes, DWORD-aligned as DialogBoxIndirectParam needs them, with horizontal
// positions and widths multiplied by `widthScale`.
std::vector<DWORD> BuildDialogTemplate(const DialogTemplate& dialogTemplate,
                                       double widthScale = 1.0);

}  // namespace lumisk::ui
