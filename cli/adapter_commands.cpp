#include "cli/adapter_commands.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "cli/device_output.h"
#include "cli/password_input.h"
#include "protocol/console_text.h"
#include "protocol/device_table.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/search.h"
#include "protocol/utf8_text.h"
#include "setup/address_rules.h"
#include "setup/admin_login.h"

namespace lumisk {
namespace {

// The administrator login as the window's Apply makes it, the password being the one given with
// --password-stdin (read before anything was sent) or typed at a prompt; the exit status.
int SelectAndLogIn(const Arguments& arguments, const CommandContext& context,
                   const std::string& deviceIp) {
    if (!SelectAdapter(context, deviceIp)) {
        return ExitFailure;
    }
    int noPasswordStatus = ExitFailure;
    const auto askPassword = [&]() -> std::optional<std::string> {
        if (arguments.Has(PasswordStdin)) {
            const auto given = arguments.values.find(PasswordStdin);
            if (given == arguments.values.end() || given->second.empty()) {
                Complain(
                    "the adapter wants its administrator password, and no password was given on "
                    "standard input");
                return std::nullopt;
            }
            return given->second;
        }
        std::optional<std::string> typed =
            PromptForPassword("Administrator password for " + deviceIp + ": ");
        if (!typed) {
            Complain("the adapter wants its administrator password: give it with " +
                     std::string(PasswordStdin));
            return std::nullopt;
        }
        if (const auto problem = PasswordProblem(*typed)) {
            Complain(*problem);
            noPasswordStatus = ExitUsage;
            return std::nullopt;
        }
        return typed;
    };
    switch (LogInAsAdministrator([](int (*exchange)()) { return exchange(); }, askPassword)) {
        case AdminLoginResult::Accepted:
            return ExitSuccess;
        case AdminLoginResult::WrongPassword:
            Complain(WrongPasswordMessage);
            return ExitFailure;
        case AdminLoginResult::NoPassword:
            break;
    }
    return noPasswordStatus;
}

// The address of an option as four octets, or a usage message.
std::optional<std::array<int, 4>> AddressOption(const Arguments& arguments,
                                                const std::string& option) {
    const auto value = arguments.values.find(option);
    if (value == arguments.values.end()) {
        Complain(option + " is missing");
        return std::nullopt;
    }
    const std::optional<Ipv4Bytes> address = ParseIpText(value->second);
    if (!address) {
        Complain(option + " takes a dotted address such as 192.0.2.10, not \"" + value->second +
                 "\"");
        return std::nullopt;
    }
    return std::array<int, 4>{(*address)[0], (*address)[1], (*address)[2], (*address)[3]};
}

}  // namespace

int SearchAdapters(const Arguments& arguments, const CommandContext& context) {
    if (!OpenEndpointOrComplain(context)) {
        return ExitFailure;
    }
    SearchDevices();
    if (arguments.Has("--json")) {
        PrintText(stdout, "%s\n", FormatDevicesJson(DeviceTable).c_str());
    } else {
        for (const DeviceRecord* device = DeviceTable.head; device != nullptr;
             device = device->next) {
            PrintText(stdout, "%s\n", FormatDeviceLine(*device).c_str());
        }
    }
    return ExitSuccess;
}

int PrintShares(const Arguments& arguments, const CommandContext& context) {
    const std::string& deviceIp = arguments.operands[0];
    if (!SelectAdapter(context, deviceIp)) {
        return ExitFailure;
    }
    if (QueryShareList() == 0) {
        return NoAnswer(deviceIp);
    }
    for (const ShareNode* share = ShareTable.head; share != nullptr; share = share->next) {
        PrintText(stdout, "%s\n", PrintableText(TextOf(share->shareName)).c_str());
    }
    return ExitSuccess;
}

int QueryText(const Arguments& arguments, const CommandContext& context, int (*exchange)(),
              std::span<char> target) {
    const std::string& deviceIp = arguments.operands[0];
    if (!SelectAdapter(context, deviceIp)) {
        return ExitFailure;
    }
    // Emptied first, so that an empty text means no answer.
    std::memset(target.data(), 0, target.size());
    if (exchange() == 0) {
        return NoAnswer(deviceIp);
    }
    PrintText(stdout, "%s\n", PrintableText(TextOf(target)).c_str());
    return ExitSuccess;
}

int LogIn(const Arguments& arguments, const CommandContext& context) {
    const std::string& deviceIp = arguments.operands[0];
    if (const int status = SelectAndLogIn(arguments, context, deviceIp); status != ExitSuccess) {
        return status;
    }
    Tell("Administrator login accepted by " + deviceIp + ".");
    return ExitSuccess;
}

int SetStaticIp(const Arguments& arguments, const CommandContext& context) {
    const std::string& deviceIp = arguments.operands[0];
    const auto ip = AddressOption(arguments, "--ip");
    const auto netmask = AddressOption(arguments, "--netmask");
    const auto gateway = AddressOption(arguments, "--gateway");
    if (!ip || !netmask || !gateway) {
        return ExitUsage;
    }
    const StaticAddress address{*ip, *netmask, *gateway};
    if (const auto problem = CheckStaticAddress(address)) {
        Complain(*problem);
        return ExitUsage;
    }
    StorePendingAddress(address);
    if (const int status = SelectAndLogIn(arguments, context, deviceIp); status != ExitSuccess) {
        return status;
    }
    if (SetStaticAddress() == 0) {
        Complain("the adapter did not confirm the address " +
                 std::string(lumisk::TextOf(PendingIp)));
        return ExitFailure;
    }
    PrintText(stdout, "%s\n", SelectedDeviceIp);
    return ExitSuccess;
}

int SetDhcp(const Arguments& arguments, const CommandContext& context) {
    const std::string& deviceIp = arguments.operands[0];
    if (const int status = SelectAndLogIn(arguments, context, deviceIp); status != ExitSuccess) {
        return status;
    }
    if (SetDhcpClient() == 0) {
        Complain("Set to dhcp client fail.");
        return ExitFailure;
    }
    Tell("DHCP client enabled.");
    PrintText(stdout, "%s\n", SelectedDeviceIp);
    return ExitSuccess;
}

int SetText(const Arguments& arguments, const CommandContext& context, int (*exchange)(),
            std::span<char> field, const std::string& what) {
    const std::string& deviceIp = arguments.operands[0];
    const std::string& value = arguments.operands[1];
    // The text must fit its field whole.
    if (value.size() >= field.size() || value.find('\0') != std::string::npos) {
        Complain("the " + what + " takes at most " + std::to_string(field.size() - 1) +
                 " characters");
        return ExitUsage;
    }
    if (const int status = SelectAndLogIn(arguments, context, deviceIp); status != ExitSuccess) {
        return status;
    }
    std::memset(field.data(), 0, field.size());
    std::memcpy(field.data(), value.data(), value.size());
    if (exchange() == 0) {
        return NoAnswer(deviceIp);
    }
    PrintText(stdout, "%s\n", value.c_str());
    return ExitSuccess;
}

}  // namespace lumisk
