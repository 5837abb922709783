#pragma once
// The data compiled into the program: dialog templates, strings and icons.

#include <QPixmap>
#include <QString>

namespace lumisk::ui {

// Registers the compiled-in data; the linker would otherwise drop it from the static library.
void InitResources();

// Icon `iconId`, null when there is none.
QPixmap IconResource(int iconId);

}  // namespace lumisk::ui
