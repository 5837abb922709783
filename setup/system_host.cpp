#include "setup/system_host.h"

namespace lumisk {

SystemHost::SystemHost()
    : drives_(MakeSystemDrives()),
      system_(MakeSystemIdentity()),
      browser_(MakeSystemBrowser()),
      shareFiles_(MakeSystemShareFiles()),
      services_{*drives_,  *system_,     MakeSystemWebConnector(),
                *browser_, *shareFiles_, SystemClock()} {}

}  // namespace lumisk
