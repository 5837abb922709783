#pragma once
// Connect and Disconnect of the "Drive Mapping" group: a share of the selected adapter mapped to
// a drive letter as a remembered network drive, and a mapping removed.

#include "setup/main_window_controls.h"

namespace lumisk {

void OnConnect(MainWindowControls& window);
void OnDisconnect(MainWindowControls& window);

}  // namespace lumisk
