#pragma once
// What screen readers are told about the back end's own widgets (the address field, the
// announcer); the toolkit's widgets speak for themselves.

namespace lumisk::ui {

void InstallAccessibleInterfaces();

}  // namespace lumisk::ui
