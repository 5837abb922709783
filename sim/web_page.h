#pragma once
// The page an adapter's web server answers every request with.

#include <string>
#include <string_view>

#include "sim/adapter.h"

namespace lumisk::sim {

// True once `received` holds a whole request head, or more than any head the page waits for.
bool IsRequestComplete(std::string_view received);

// The whole HTTP/1.0 response, naming the adapter and its address.
std::string WebPageResponse(const Adapter& adapter);

}  // namespace lumisk::sim
