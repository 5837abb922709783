#pragma once
// A dialog template in the binary form the system's dialog manager builds windows from
// (DLGTEMPLATEEX), made in memory from a template of resources/.

#include <windows.h>

#include <vector>

#include "ui/dialog_template.h"

namespace lumisk::ui {

// The template's bytes, DWORD-aligned as DialogBoxIndirectParam needs them. Controls of a class
// the system has no counterpart for are left out.
std::vector<DWORD> BuildDialogTemplate(const DialogTemplate& dialogTemplate);

}  // namespace lumisk::ui
