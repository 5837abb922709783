#include "setup/system_host.h"

namespace lumisk {

SystemHost::SystemHost()
    : drives_(MakeSystemDrives()),
      system_(MakeSystemIdentity()),
      web_(MakeSystemWebConnector()),
      browser_(MakeSystemBrowser()),
      shareFiles_(MakeSystemShareFiles()),
      services_{*drives_, *system_, *web_, *browser_, *shareFiles_, SystemClock()} {}

}  // namespace lumisk
