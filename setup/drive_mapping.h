#pragma once
// Connect and Disconnect of the "Drive Mapping" group: a share of the selected adapter mapped to
// a drive letter as a remembered network drive, and a mapping removed.

#include "setup/main_window.h"

namespace lumisk {

void OnConnect(MainWindow& window);
void OnDisconnect(MainWindow& window);

}  // namespace lumisk
