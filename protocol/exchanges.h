#pragma once
// The query and set exchanges: one request for the selected device, sent once to the group, then
// a bounded wait for its reply. Each takes its arguments from the texts of device_table.h and
// leaves its results there. All return 1 on success and 0 on failure, except VerifyLogin.

#include <chrono>
#include <cstdio>

namespace lumisk {

using namespace std::chrono_literals;

inline constexpr int DrainReads = 6;
inline constexpr std::chrono::milliseconds ReplyWait = 10ms;
inline constexpr std::chrono::milliseconds AttemptPause = 100ms;
inline constexpr int QueryAttempts = 11;
inline constexpr int AddressChangeAttempts = 101;

// The adapter's verdict on LoginUserName and LoginPassword: reply byte 28 as a signed number,
// non-zero when accepted; 0 when refused or when nothing answered.
int VerifyLogin();
// Fills ShareTable from the "HDD_a:HDD_b" reply; the table is emptied first whatever the outcome.
int QueryShareList();
int QueryWorkgroup();   // into WorkgroupText
int QueryCodepage();    // into CodepageText
int QueryDiskStatus();  // into DiskStatusText
int QueryShareName();   // into ShareNameText
int SetAccessMode();    // sends AccessModeText
int SetCodepage();      // sends CodepageText
int SetWorkgroup();     // sends WorkgroupText
// Sends PendingIp; once the adapter confirms from its new address, moves its record and
// SelectedDeviceIp to PendingIp, PendingNetmask and PendingGateway.
int SetStaticAddress();
// Makes the adapter a DHCP client; moves its record and SelectedDeviceIp to the address the
// confirmation comes from.
int SetDhcpClient();

// Where the four queries with a target text write their diagnostic line: standard output unless
// a caller chooses otherwise; nowhere when `stream` is null.
void SetDiagnosticStream(std::FILE* stream);

}  // namespace lumisk
