#include "cli/commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <span>
#include <string_view>

#include "cli/arguments.h"
#include "cli/device_output.h"
#include "cli/drive_commands.h"
#include "cli/password_input.h"
#include "drives/failure_text.h"
#include "language/codepage_sets.h"
#include "language/installation.h"
#include "language/restart_timing.h"
#include "protocol/console_text.h"
#include "protocol/device_table.h"
#include "protocol/endpoint.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/ip_text.h"
#include "protocol/search.h"
#include "protocol/utf8_text.h"
#include "resources/version.h"
#include "setup/address_rules.h"
#include "setup/admin_login.h"

namespace lumisk {
namespace {

constexpr char ProgramName[] = "lumisk-cli";
constexpr char PasswordStdin[] = "--password-stdin";
// The adapters take a password of at most this many bytes; a longer one is refused, never cut.
constexpr std::size_t PasswordLimit = sizeof LoginPassword - 1;

// The operand that names an adapter by its address; checked before anything is sent.
constexpr char DeviceIpOperand[] = "DEVICE_IP";

struct Command {
    std::string name;
    std::vector<std::string> operands = {};          // the names of the required ones, in order
    std::vector<std::string> optionalOperands = {};  // after the required ones
    std::string options = {};                        // as the synopsis shows them
    std::string description;
    ArgumentRules rules = {};
    std::function<int(const Arguments&)> run;
};

void Complain(const std::string& message) {
    PrintText(stderr, "%s: %s\n", ProgramName, message.c_str());
}

void Tell(const std::string& message) {
    PrintText(stderr, "%s\n", message.c_str());
}

std::string_view TextOf(std::span<const char> field) {
    return std::string_view(field.data(), strnlen(field.data(), field.size()));
}

// The card given with --interface, which every command then searches and talks through alone.
std::optional<Ipv4Bytes> onlyCard;
// The host services of the command that runs.
CommandHost* host = nullptr;

bool OpenEndpointOrComplain() {
    if (const auto failure = TryOpenEndpoint(onlyCard)) {
        Complain("cannot open the protocol endpoint: " + failure->message);
        return false;
    }
    return true;
}

// Searches and makes the adapter at `deviceIp` the selected device.
bool SelectAdapter(const std::string& deviceIp) {
    if (!OpenEndpointOrComplain()) {
        return false;
    }
    SearchDevices();
    CopyText(SelectedDeviceIp, deviceIp);
    if (FindSelectedDevice() == nullptr) {
        Complain("no adapter answers at " + deviceIp);
        return false;
    }
    return true;
}

// A password the adapter can take whole, or the usage message.
std::optional<std::string> PasswordProblem(const std::string& password) {
    if (password.size() > PasswordLimit || password.find('\0') != std::string::npos) {
        return "the administrator password takes at most " + std::to_string(PasswordLimit) +
               " bytes";
    }
    return std::nullopt;
}

// The administrator login as the window's Apply makes it, the password being the one given with
// --password-stdin (read before anything was sent) or typed at a prompt; the exit status.
int SelectAndLogIn(const Arguments& arguments, const std::string& deviceIp) {
    if (!SelectAdapter(deviceIp)) {
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

int NoAnswer(const std::string& deviceIp) {
    Complain("no answer from " + deviceIp);
    return ExitFailure;
}

int Search(const Arguments& arguments) {
    if (!OpenEndpointOrComplain()) {
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

int Shares(const Arguments& arguments) {
    const std::string& deviceIp = arguments.operands[0];
    if (!SelectAdapter(deviceIp)) {
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

// A query whose answer lands in `target`, emptied first so that an empty text means no answer.
Command TextQuery(std::string name, std::string what, int (*exchange)(), std::span<char> target) {
    return {.name = name,
            .operands = {DeviceIpOperand},
            .description = "Prints the adapter's " + what + ".",
            .run = [exchange, target](const Arguments& arguments) {
                const std::string& deviceIp = arguments.operands[0];
                if (!SelectAdapter(deviceIp)) {
                    return int{ExitFailure};
                }
                std::memset(target.data(), 0, target.size());
                if (exchange() == 0) {
                    return NoAnswer(deviceIp);
                }
                PrintText(stdout, "%s\n", PrintableText(TextOf(target)).c_str());
                return int{ExitSuccess};
            }};
}

int Login(const Arguments& arguments) {
    const std::string& deviceIp = arguments.operands[0];
    if (const int status = SelectAndLogIn(arguments, deviceIp); status != ExitSuccess) {
        return status;
    }
    Tell("Administrator login accepted by " + deviceIp + ".");
    return ExitSuccess;
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

int SetIp(const Arguments& arguments) {
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
    if (const int status = SelectAndLogIn(arguments, deviceIp); status != ExitSuccess) {
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

int SetDhcp(const Arguments& arguments) {
    const std::string& deviceIp = arguments.operands[0];
    if (const int status = SelectAndLogIn(arguments, deviceIp); status != ExitSuccess) {
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

// A change that sends one text, which must fit its field whole.
Command TextSet(std::string name, std::string what, int (*exchange)(), std::span<char> field) {
    return {.name = name,
            .operands = {DeviceIpOperand, "VALUE"},
            .options = "[--password-stdin]",
            .description =
                "Logs in as the adapter's administrator, as login does, then sets the "
                "adapter's " +
                what + " to VALUE; prints VALUE.",
            .rules = {{PasswordStdin}, {}},
            .run = [exchange, field, what](const Arguments& arguments) {
                const std::string& deviceIp = arguments.operands[0];
                const std::string& value = arguments.operands[1];
                if (value.size() >= field.size() || value.find('\0') != std::string::npos) {
                    Complain("the " + what + " takes at most " + std::to_string(field.size() - 1) +
                             " characters");
                    return int{ExitUsage};
                }
                if (const int status = SelectAndLogIn(arguments, deviceIp); status != ExitSuccess) {
                    return status;
                }
                std::memset(field.data(), 0, field.size());
                std::memcpy(field.data(), value.data(), value.size());
                if (exchange() == 0) {
                    return NoAnswer(deviceIp);
                }
                PrintText(stdout, "%s\n", value.c_str());
                return int{ExitSuccess};
            }};
}

// Installs a language as the window's Language button does, then waits for the restart.
int Language(const Arguments& arguments) {
    const std::string& deviceIp = arguments.operands[0];
    const std::optional<int> language = LanguageOfCodepage(
        static_cast<int>(std::strtol(arguments.operands[1].c_str(), nullptr, 10)));
    if (!language || arguments.operands[1] != std::to_string(LanguageCodepages[*language])) {
        Complain("CODEPAGE is one of 950, 936, 850, 932, 949, 866");
        return ExitUsage;
    }
    if (StandInCodepagesRefused()) {
        Complain(StandInCodepagesMessage);
        return ExitFailure;
    }
    if (!SelectAdapter(deviceIp)) {
        return ExitFailure;
    }
    const LanguageReadiness readiness = AskLanguageReadiness();
    if (readiness.refusal != LanguageReadiness::Refusal::None) {
        Complain(RefusalMessage(readiness.refusal));
        return ExitFailure;
    }
    const InstallOutcome outcome = InstallLanguage(
        *language, host->shareFiles, deviceIp,
        [](const std::string& name) { PrintText(stderr, "writing %s\n", name.c_str()); });
    if (outcome != InstallOutcome::Installed) {
        Tell(FailureText("Please check hard drives.", outcome == InstallOutcome::FileFailed
                                                          ? host->shareFiles.FailureReason()
                                                          : std::string()));
        return ExitFailure;
    }
    Tell("Code page " + arguments.operands[1] + " sent; the adapter restarts.");
    if (!arguments.Has("--no-wait")) {
        const RestartTiming timing;
        for (int step = 1; step <= RestartTiming::Steps; ++step) {
            PrintText(stderr, "\rrestarting: %3d%%", step * 100 / RestartTiming::Steps);
            host->clock.Sleep(timing.stepPause);
        }
        host->clock.Sleep(timing.lifetime - RestartTiming::Steps * timing.stepPause);
        PrintText(stderr, "\n");
    }
    return ExitSuccess;
}

// Connect, disconnect and the list of drives, with what they need of this command line.
int RunDriveCommand(int (*command)(const Arguments&, const CommandSupport&),
                    const Arguments& arguments) {
    return command(arguments, {Complain, SelectAdapter, host->drives});
}

const std::vector<Command>& Commands() {
    const ArgumentRules withPassword{{PasswordStdin}, {}};
    static const std::vector<Command> commands = {
        {.name = "search",
         .options = "[--json]",
         .description =
             "Searches the LAN once and prints one line per adapter: name, IP, netmask, gateway, "
             "dhcp or static, and the DeviceId as 20 hex digits, separated by tabs. --json prints "
             "an array of objects with the keys name, ip, netmask, gateway, dhcp, deviceId and "
             "interface (the address of the network card the adapter answered through).",
         .rules = {{"--json"}, {}},
         .run = Search},
        {.name = "shares",
         .operands = {DeviceIpOperand},
         .description = "Prints the adapter's shares, one per line.",
         .run = Shares},
        TextQuery("workgroup", "workgroup", QueryWorkgroup, WorkgroupText),
        TextQuery("codepage", "code page", QueryCodepage, CodepageText),
        TextQuery("disk-status", "disk status", QueryDiskStatus, DiskStatusText),
        TextQuery("share-name", "share name", QueryShareName, ShareNameText),
        {.name = "login",
         .operands = {DeviceIpOperand},
         .options = "[--password-stdin]",
         .description =
             "Logs in as the adapter's administrator: first with an empty password, then with the "
             "password read from standard input (--password-stdin) or typed at a prompt.",
         .rules = withPassword,
         .run = Login},
        {.name = "set-ip",
         .operands = {DeviceIpOperand},
         .options = "--ip A --netmask M --gateway G [--password-stdin]",
         .description = "Logs in as the adapter's administrator, as login does, then gives the "
                        "adapter a static address; prints its new address.",
         .rules = {{PasswordStdin}, {"--ip", "--netmask", "--gateway"}},
         .run = SetIp},
        {.name = "set-dhcp",
         .operands = {DeviceIpOperand},
         .options = "[--password-stdin]",
         .description = "Logs in as the adapter's administrator, as login does, then makes the "
                        "adapter a DHCP client; prints the address it answers from.",
         .rules = withPassword,
         .run = SetDhcp},
        TextSet("set-workgroup", "workgroup", SetWorkgroup, WorkgroupText),
        TextSet("set-codepage", "code page", SetCodepage, CodepageText),
        TextSet("set-access-mode", "access mode", SetAccessMode, AccessModeText),
        {.name = "language",
         .operands = {DeviceIpOperand, "CODEPAGE"},
         .options = "[--no-wait]",
         .description =
             "Installs the language of CODEPAGE (950, 936, 850, 932, 949 or 866) on the adapter: "
             "access mode rw, the support files on its share, the new code page; then waits the "
             "90 s the adapter takes to restart, unless --no-wait.",
         .rules = {{"--no-wait"}, {}},
         .run = Language},
        {.name = "connect",
         .operands = {DeviceIpOperand, "SHARE"},
         .optionalOperands = {"LETTER"},
         .options = "[--user NAME] [--password-stdin]",
         .description =
             "Maps the adapter's SHARE to a drive letter as the window's Connect does: LETTER, or "
             "the first free one; as a guest, or as NAME with the password read from standard "
             "input (--password-stdin) or typed at a prompt. Prints the letter, the remote name "
             "\\\\NAME\\SHARE and the local path of the share's mount, separated by tabs.",
         .rules = {{PasswordStdin}, {"--user"}},
         .run =
             [](const Arguments& arguments) { return RunDriveCommand(ConnectDrive, arguments); }},
        {.name = "disconnect",
         .operands = {"LETTER"},
         .description = "Removes the mapping of a drive letter.",
         .run =
             [](const Arguments& arguments) {
                 return RunDriveCommand(DisconnectDrive, arguments);
             }},
        {.name = "drives",
         .options = "[--json] [--restore]",
         .description =
             "Lists the remembered drive mappings: letter, remote name, the local path of the "
             "share's mount (- when none) and whether it is mounted now, separated by tabs. --json "
             "prints an array of objects with the keys letter, remote, path (null when none) and "
             "mounted. --restore first mounts every remembered mapping that needs no password, as "
             "at login, and says which it could not.",
         .rules = {{"--json", "--restore"}, {}},
         .run = [](const Arguments& arguments) { return RunDriveCommand(ListDrives, arguments); }},
    };
    return commands;
}

// "name OPERAND [OPTIONAL] options", the command's line in the help.
std::string Synopsis(const Command& command) {
    std::string synopsis = command.name;
    for (const std::string& operand : command.operands) {
        synopsis += " " + operand;
    }
    for (const std::string& operand : command.optionalOperands) {
        synopsis += " [" + operand + "]";
    }
    if (!command.options.empty()) {
        synopsis += " " + command.options;
    }
    return synopsis;
}

void PrintUsage(std::FILE* stream) {
    PrintText(stream, "Usage: %s COMMAND [ARGUMENTS]\n       %s --version\n\nCommands:\n",
              ProgramName, ProgramName);
    for (const Command& command : Commands()) {
        PrintText(stream, "  %s\n", Synopsis(command).c_str());
    }
    PrintText(stream,
              "\nAny command takes --interface ADDRESS: search and talk only through the "
              "network card with that address.");
    PrintText(stream,
              "\n'%s COMMAND --help' describes one command. An option's value follows it "
              "as the next word or after '=' (--interface=ADDRESS); --verbose adds the "
              "exchanges' diagnostic "
              "lines. Results go to standard output, messages to standard error.\nExit "
              "status: 0 success, 1 adapter not found, not answering or refusing, 2 usage "
              "error.\n",
              ProgramName);
}

// Takes "--interface ADDRESS" or "--interface=ADDRESS" out of the words, wherever it stands, and
// sets `onlyCard`; false, with the message said, when its address is missing or malformed.
bool TakeInterfaceOption(std::vector<std::string>& words) {
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
            Complain("--interface needs the address of one of this computer's network cards");
            return false;
        } else {
            continue;
        }
        onlyCard = ParseIpText(value);
        if (!onlyCard) {
            Complain("--interface takes a dotted address such as 192.0.2.1, not \"" + value + "\"");
        }
        return onlyCard.has_value();
    }
    return true;
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

int RunCommandLine(const std::vector<std::string>& commandLine, CommandHost& commandHost) {
    host = &commandHost;
    std::vector<std::string> words = commandLine;
    if (!TakeInterfaceOption(words)) {
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
        return command.run(arguments);
    }
    Complain("unknown command " + words[0]);
    PrintUsage(stderr);
    return ExitUsage;
}

}  // namespace lumisk
