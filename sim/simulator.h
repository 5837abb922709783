#pragma once
// The simulator's event loop: one poll() over the request socket, the web listeners and their
// connections, paced by the queue of delayed replies and floods.

#include "sim/options.h"

namespace lumisk::sim {

// Plays the adapters until SIGTERM or SIGINT, then takes away the addresses it added. Throws
// std::exception when the adapters cannot be set up.
void RunSimulator(Options options);

}  // namespace lumisk::sim
