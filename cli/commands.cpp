#include "cli/commands.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "cli/arguments.h"
#include "cli/command_context.h"
#include "cli/command_table.h"
#include "cli/password_input.h"
#include "protocol/console_text.h"
#include "protocol/exchanges.h"
#include "protocol/ip_text.h"
#include "resources/version.h"

namespace lumisk {
namespace {

// The card of "--interface ADDRESS", or the message that says what is wrong with the option.
struct InterfaceOption {
    std::optional<Ipv4Bytes> card;  // none without the option: every card
    std::string error;
};

// Takes "--interface ADDRESS" or "--interface=ADDRESS" out of the words, wherever it stands.
InterfaceOption TakeInterfaceOption(std::vector<std::string>& words) {
    constexpr std::string_view Option = "--interface";
    for (auto word = words.begin(); word != words.end(); ++word) {
        std::string value;
        if (*word == Option && word + 1 != words.end()) {
            value = *(word + 1);
            words.erase(word, word + 2);
        } else if (word->starts_with(std::string(Option) + "=")) {
            value = word->substr(Option.size() + 1);
            words.erase(word);
        } else if (*word == Option) {
            return {std::nullopt,
                    "--interface needs the address of one of this computer's network cards"};
        } else {
            continue;
        }
        const std::optional<Ipv4Bytes> card = ParseIpText(value);
        if (!card) {
            return {std::nullopt,
                    "--interface takes a dotted address such as 192.0.2.1, not \"" + value + "\""};
        }
        return {card, {}};
    }
    return {};
}

// What must hold before anything is sent, or the usage message: every DEVICE_IP names one
// adapter exactly, and a password from --password-stdin is one the adapter can take whole (read
// now into the option's value; no value when standard input gave nothing).
std::optional<std::string> CheckBeforeSending(const Command& command, Arguments& arguments) {
    for (std::size_t index = 0; index < command.operands.size(); ++index) {
        if (command.operands[index] != DeviceIpOperand) {
            continue;
        }
        const std::string& deviceIp = arguments.operands[index];
        const std::optional<Ipv4Bytes> address = ParseIpText(deviceIp);
        // Leading zeros are refused too: other tools read them as octal.
        if (!address || FormatIpText(*address) != deviceIp) {
            return "DEVICE_IP takes a dotted address such as 192.0.2.20, not \"" + deviceIp + "\"";
        }
    }
    if (arguments.Has(PasswordStdin)) {
        if (const std::optional<std::string> password = ReadPasswordLine()) {
            if (const auto problem = PasswordProblem(*password)) {
                return problem;
            }
            arguments.values[PasswordStdin] = *password;
        }
    }
    return std::nullopt;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& commandLine) {
    const auto drives = MakeSystemDrives();
    const auto files = MakeSystemShareFiles();
    CommandHost system{*drives, *files, SystemClock()};
    return RunCommandLine(commandLine, system);
}

int RunCommandLine(const std::vector<std::string>& commandLine, CommandHost& host) {
    std::vector<std::string> words = commandLine;
    const InterfaceOption interfaceOption = TakeInterfaceOption(words);
    if (!interfaceOption.error.empty()) {
        Complain(interfaceOption.error);
        return ExitUsage;
    }
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        PrintUsage(words.empty() ? stderr : stdout);
        return words.empty() ? ExitUsage : ExitSuccess;
    }
    if (words.size() == 1 && words[0] == "--version") {
        PrintText(stdout, "%s %s\n", ProgramName, ProgramVersion);
        return ExitSuccess;
    }
    for (const Command& command : Commands()) {
        if (command.name != words[0]) {
            continue;
        }
        const ParsedArguments parsed =
            ParseArguments(std::vector(words.begin() + 1, words.end()), command.rules);
        if (parsed.arguments && parsed.arguments->Has("--help")) {
            PrintText(stdout, "Usage: %s %s\n%s\n", ProgramName, Synopsis(command).c_str(),
                      command.description.c_str());
            return ExitSuccess;
        }
        const std::size_t given = parsed.arguments ? parsed.arguments->operands.size() : 0;
        if (!parsed.arguments || given < command.operands.size() ||
            given > command.operands.size() + command.optionalOperands.size()) {
            Complain(parsed.arguments ? "wrong number of arguments" : parsed.error);
            PrintText(stderr, "Usage: %s %s\n", ProgramName, Synopsis(command).c_str());
            return ExitUsage;
        }
        Arguments arguments = *parsed.arguments;
        if (const auto problem = CheckBeforeSending(command, arguments)) {
            Complain(*problem);
            return ExitUsage;
        }
        // The exchanges' diagnostic lines ("workgroup=..."), only when asked for.
        SetDiagnosticStream(arguments.Has(VerboseFlag) ? stderr : nullptr);
        return command.run(arguments, {host, interfaceOption.card});
    }
    Complain("unknown command " + words[0]);
    PrintUsage(stderr);
    return ExitUsage;
}

}  // namespace lumisk
