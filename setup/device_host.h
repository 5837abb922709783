#pragma once
// The adapter the window addresses on the LAN.

namespace lumisk {

// The IP text of the adapter that the web page, the probe, the drive mapping and the language
// files address: set from the device list's row before each of them acts.
extern char DeviceHostText[64];

}  // namespace lumisk
