#include "setup/device_host.h"

namespace lumisk {

char DeviceHostText[64];

}  // namespace lumisk
