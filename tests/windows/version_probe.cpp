// Prints the name of the host's release: the host-service tests run it under each of Wine's
// Windows versions, which Wine picks when a process starts.
#include <cstdio>

#include "drives/host_identity.h"

int main() {
    std::puts(lumisk::GetWindowsVersionText(*lumisk::MakeSystemIdentity()).c_str());
}
