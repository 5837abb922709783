#pragma once
// The "LAN" group of the main window: Apply sends a static address or the switch to DHCP to the
// selected adapter after the administrator login, and the "Receive DHCP" choice greys or frees
// the address fields.

#include "setup/address_rules.h"
#include "setup/main_window_controls.h"

namespace lumisk {

void OnApply(MainWindowControls& window);
void OnDhcpSelChange(MainWindowControls& window);

// Non-zero when the octets suit a field of `kind` (1 IP address, 2 netmask, 3 gateway; any other
// kind passes); otherwise 0 after telling the user and focusing the offending octet.
int ValidateAddress(MainWindowControls& window, int kind, int octet1, int octet2, int octet3,
                    int octet4);

}  // namespace lumisk
