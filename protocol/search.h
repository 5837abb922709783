#pragma once
// The device search: the only way records enter DeviceTable.

#include <chrono>
#include <cstdint>
#include <span>

namespace lumisk {

using namespace std::chrono_literals;

// Three sends, pauses of 80, 80 and 100 ms, then 32 polls of up to 10 ms with 20 ms pauses:
// about 1.2 s in all, never less when nothing answers, never ending early.
inline constexpr int SearchSends = 3;
inline constexpr std::chrono::milliseconds SearchSendPauses[SearchSends] = {80ms, 80ms, 100ms};
inline constexpr int SearchPolls = 32;
inline constexpr std::chrono::milliseconds SearchPollWait = 10ms;
inline constexpr std::chrono::milliseconds SearchPollPause = 20ms;
inline constexpr std::chrono::milliseconds SearchNominalTime = 1200ms;

// Empties DeviceTable, asks the group three times through every card the endpoint serves and
// collects the replies: one DeviceRecord per distinct device address, in order of arrival, each
// remembering the card it answered through. Every poll reads all datagrams waiting,
// and replies arriving during the pauses are taken too, so no adapter that answers within the
// collection is missed however many answer. Ends within twice its nominal time whatever arrives.
void SearchDevices();

// Adds the device of one search reply (opcode 2, one of our ClientIds) unless its address is
// listed.
void ParseSearchReply(std::span<const std::uint8_t> datagram);

}  // namespace lumisk
