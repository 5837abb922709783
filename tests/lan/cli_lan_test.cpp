// lumisk-cli in the workstation against simulated adapters: what scripts read and exit statuses.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "language/codepage_data.h"
#include "protocol/endpoint.h"
#include "tests/lan/lan_testbed.h"
#include "tests/lan/samba_server.h"
#include "tests/unit/scripted_endpoint.h"

namespace lumisk::lan {
namespace {

class CliOnLan : public LanTest {
protected:
    explicit CliOnLan(int cards = 1) : LanTest(cards) {}

    // make windows-test runs these tests with the Windows build's lumisk-cli.exe under Wine: it
    // names the program in LUMISK_WINDOWS_CLI and its prepared prefix in WINEPREFIX.
    ProgramResult Cli(std::vector<std::string> arguments, const std::string& input = {}) {
        const char* windowsCli = std::getenv("LUMISK_WINDOWS_CLI");
        arguments.insert(arguments.begin(), windowsCli != nullptr ? windowsCli : LUMISK_CLI_PATH);
        if (windowsCli == nullptr) {
            return testbed_.RunInWorkstation(arguments, input);
        }
        const char* prefix = std::getenv("WINEPREFIX");
        return testbed_.RunUnderWineInWorkstation(prefix != nullptr ? prefix : "", arguments,
                                                  input);
    }

    void StartAdapters(const std::vector<std::string>& arguments, int lan = 1) {
        ASSERT_GT(testbed_.StartSimulator(arguments, 10s, lan), 0);
    }

    std::string Recorded(const std::string& record) const {
        std::ifstream in(record);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The opcodes of the requests recorded, each checked to have left from UDP port 13579 of the
    // workstation, the port the adapters reply to.
    std::set<std::string> OpcodesFromTheProtocolPort(const std::string& record) const {
        std::set<std::string> opcodes;
        std::istringstream lines(Recorded(record));
        for (std::string line; std::getline(lines, line);) {
            EXPECT_TRUE(line.ends_with(" " + LanTestbed::WorkstationIp() + ":13579")) << line;
            opcodes.insert(line.substr(0, 2));
        }
        return opcodes;
    }
};

TEST_F(CliOnLan, SearchPrintsOneLinePerAdapter) {
    StartAdapters({"--adapter", "--name", "NAS-1", "--ip", "192.0.2.20", "--gateway", "192.0.2.254",
                   "--identity", "00a0b0000001", "--adapter", "--name", "NAS-\u00e9", "--ip",
                   "192.0.2.21", "--dhcp", "--gateway", "192.0.2.254", "--identity",
                   "00a0b0000002"});
    const ProgramResult result = Cli({"search"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::vector<std::string> lines;
    std::istringstream out(result.out);
    for (std::string line; std::getline(out, line);) {
        lines.push_back(line);
    }
    std::ranges::sort(lines);
    EXPECT_EQ(
        lines,
        (std::vector<std::string>{
            "NAS-1\t192.0.2.20\t255.255.255.0\t192.0.2.254\tstatic\t00a0b0000001c0000214",
            "NAS-\u00e9\t192.0.2.21\t255.255.255.0\t192.0.2.254\tdhcp\t00a0b0000002c0000215"}));
}

TEST_F(CliOnLan, SearchRequestsCarryTheWorkstationAddressAndFindEveryAdapter) {
    const std::string record = testbed_.TemporaryPath("requests.hex");
    StartAdapters({"--record", record, "--adapter", "--ip", "192.0.2.50", "--adapter", "--ip",
                   "192.0.2.51", "--adapter", "--ip", "192.0.2.52"});
    const ProgramResult result = Cli({"search"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(std::ranges::count(result.out, '\n'), 3) << result.out;
    // Opcode 1, then the ClientId: six random bytes and 192.0.2.1.
    const std::string requests = Recorded(record);
    ASSERT_GE(requests.size(), 22u) << requests;
    EXPECT_EQ(requests.substr(0, 2), "01");
    EXPECT_EQ(requests.substr(14, 8), "c0000201") << requests;
    EXPECT_EQ(OpcodesFromTheProtocolPort(record), std::set<std::string>{"01"});
}

// Held by another program, UDP port 13579 is said in one line and nothing is sent; two searches
// started together each find every adapter or say that the port is taken, never nothing.
TEST_F(CliOnLan, AHeldPortIsSaidAndNeverGivesAnEmptyResult) {
    const std::string record = testbed_.TemporaryPath("requests.hex");
    StartAdapters(
        {"--record", record, "--adapter", "--ip", "192.0.2.33", "--adapter", "--ip", "192.0.2.34"});
    const std::string taken = "UDP port 13579 is in use by another program";
    int other = -1;
    {
        InWorkstation inWorkstation(testbed_);
        other = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in port{};
        port.sin_family = AF_INET;
        port.sin_port = htons(13579);
        ASSERT_EQ(bind(other, reinterpret_cast<const sockaddr*>(&port), sizeof port), 0);
    }
    const ProgramResult held = Cli({"search"});
    close(other);
    EXPECT_EQ(held.exitCode, 1);
    EXPECT_EQ(held.out, "");
    EXPECT_EQ(held.err, "lumisk-cli: cannot open the protocol endpoint: " + taken +
                            ", or another copy of this one\n");
    EXPECT_EQ(Recorded(record), "");

    ProgramResult together[2];
    std::thread second([&] { together[1] = Cli({"search"}); });
    together[0] = Cli({"search"});
    second.join();
    for (const ProgramResult& search : together) {
        if (search.exitCode == 0) {
            EXPECT_EQ(std::ranges::count(search.out, '\n'), 2) << search.out;
        } else {
            EXPECT_EQ(search.exitCode, 1);
            EXPECT_NE(search.err.find(taken), std::string::npos) << search.err;
        }
    }
}

TEST_F(CliOnLan, SearchAsJsonListsEveryField) {
    StartAdapters({"--name", "Büro-NAS", "--ip", "203.0.113.5", "--netmask", "255.255.255.128",
                   "--gateway", "203.0.113.1", "--dhcp", "--identity", "ffeeddccbbaa"});
    const ProgramResult result = Cli({"search", "--json"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(
        result.out,
        "[\n  {\"name\": \"Büro-NAS\", \"ip\": \"203.0.113.5\", \"netmask\": \"255.255.255.128\", "
        "\"gateway\": \"203.0.113.1\", \"dhcp\": true, \"deviceId\": "
        "\"ffeeddccbbaacb007105\", \"interface\": \"192.0.2.1\"}\n]\n");
}

// What the adapter sent, with each control character a '?': no adapter writes escape sequences to
// the terminal.
TEST_F(CliOnLan, QueriesPrintOnlyTheAnswer) {
    StartAdapters({"--name", "NAS", "--ip", "192.0.2.30", "--shares", "HDD_a:\x1b[2JHDD_b",
                   "--codepage", "950", "--workgroup", "OFF\x1b]0;x\aICE", "--disk-status", "2",
                   "--share-name", "HDD_1"});
    const struct {
        const char* command;
        const char* out;
        const char* diagnostic;
    } rows[] = {
        {"shares", "HDD_a\n?[2JHDD_b\n", ""},
        {"workgroup", "OFF?]0;x?ICE\n", "workgroup=OFF?]0;x?ICE\n"},
        {"codepage", "950\n", "codepage=950\n"},
        {"disk-status", "2\n", "ideok=2\n"},
        {"share-name", "HDD_1\n", "sharename=HDD_1\n"},
    };
    for (const auto& row : rows) {
        const ProgramResult result = Cli({row.command, "192.0.2.30"});
        EXPECT_EQ(result.exitCode, 0) << row.command << ": " << result.err;
        EXPECT_EQ(result.out, row.out) << row.command;
        EXPECT_EQ(result.err, "") << row.command;
        EXPECT_EQ(Cli({row.command, "192.0.2.30", "--verbose"}).err, row.diagnostic);
    }
}

TEST_F(CliOnLan, AnAdapterThatIsNotThereIsAFailure) {
    StartAdapters({"--name", "NAS", "--ip", "192.0.2.30"});
    const ProgramResult result = Cli({"codepage", "192.0.2.99"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("192.0.2.99"), std::string::npos) << result.err;
}

TEST_F(CliOnLan, AnAdapterFoundThatDoesNotAnswerIsAFailure) {
    StartAdapters({"--name", "NAS", "--ip", "192.0.2.32", "--fault", "ignores-sets"});
    const ProgramResult result = Cli({"set-workgroup", "192.0.2.32", "TEAM"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("no answer from 192.0.2.32"), std::string::npos) << result.err;
}

TEST_F(CliOnLan, LoginTriesTheEmptyPasswordThenTheGivenOne) {
    StartAdapters({"--name", "NAS", "--ip", "192.0.2.31", "--password", "s3cret"});
    const ProgramResult wrong = Cli({"login", "192.0.2.31", "--password-stdin"}, "guess\n");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.err.find("Wrong administrator password input!"), std::string::npos)
        << wrong.err;
    EXPECT_EQ(wrong.err.find("guess"), std::string::npos);

    for (const char* nothing : {"", "\n"}) {
        const ProgramResult none = Cli({"login", "192.0.2.31", "--password-stdin"}, nothing);
        EXPECT_EQ(none.exitCode, 1);
        EXPECT_NE(none.err.find("no password was given"), std::string::npos) << none.err;
    }

    const ProgramResult right = Cli({"login", "192.0.2.31", "--password-stdin"}, "s3cret\n");
    EXPECT_EQ(right.exitCode, 0) << right.err;
    EXPECT_EQ(right.out, "");
    EXPECT_EQ(right.err.find("s3cret"), std::string::npos);
}

// Only the adapter named exactly is acted on, and only with a password it can take whole.
TEST_F(CliOnLan, BadDeviceIpsAndOverlongPasswordsAreRefusedBeforeSendingAnything) {
    const std::string record = testbed_.TemporaryPath("requests.hex");
    const std::string sixteenBytes = "éééééééé";
    StartAdapters({"--record", record, "--name", "NAS", "--ip", "198.51.100.100", "--password",
                   sixteenBytes});
    const std::vector<std::string> refused[] = {
        {"set-dhcp", "198.51.100.1001"},
        {"set-ip", "198.51.100.10x", "--ip", "198.51.100.7", "--netmask", "255.255.255.0",
         "--gateway", "198.51.100.1"},
        {"codepage", "198.51.100.100 "},
        {"shares", "198.51.100"},
        {"login", "198.51.100.0100"},
        {"codepage", "198.51.100.010"},
        {"set-workgroup", "0xc6.51.100.100", "TEAM"},
        {"language", "", "850"},
    };
    for (const auto& arguments : refused) {
        const ProgramResult result = Cli(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments[1];
        EXPECT_NE(result.err.find("DEVICE_IP"), std::string::npos) << result.err;
    }
    const ProgramResult overlong =
        Cli({"set-dhcp", "198.51.100.100", "--password-stdin"}, std::string(17, 'p') + "\n");
    EXPECT_EQ(overlong.exitCode, 2);
    EXPECT_NE(overlong.err.find("at most 16 bytes"), std::string::npos) << overlong.err;
    EXPECT_EQ(Recorded(record), "");

    // Sixteen bytes of eight characters are sent whole.
    const ProgramResult whole =
        Cli({"login", "198.51.100.100", "--password-stdin"}, sixteenBytes + "\n");
    EXPECT_EQ(whole.exitCode, 0) << whole.err;
}

TEST_F(CliOnLan, SetIpMovesTheAdapterAndPrintsItsNewAddress) {
    const std::string record = testbed_.TemporaryPath("requests.hex");
    StartAdapters({"--record", record, "--name", "NAS", "--ip", "192.0.2.40"});
    const ProgramResult moved = Cli({"set-ip", "192.0.2.40", "--ip=192.0.2.41", "--netmask",
                                     "255.255.255.0", "--gateway=192.0.2.254"});
    ASSERT_EQ(moved.exitCode, 0) << moved.err;
    EXPECT_EQ(moved.out, "192.0.2.41\n");
    const ProgramResult found = Cli({"search"});
    EXPECT_NE(found.out.find("\t192.0.2.41\t"), std::string::npos) << found.out;
    EXPECT_EQ(found.out.find("\t192.0.2.40\t"), std::string::npos) << found.out;
    // Searches, the login and the change.
    EXPECT_EQ(OpcodesFromTheProtocolPort(record), (std::set<std::string>{"01", "03", "05"}));
}

TEST_F(CliOnLan, SetIpRefusesBadAddressesBeforeSendingAnything) {
    const std::string record = testbed_.TemporaryPath("requests.hex");
    StartAdapters({"--record", record, "--name", "NAS", "--ip", "192.0.2.42"});
    const struct {
        std::vector<std::string> addresses;
        const char* message;
    } rows[] = {
        {{"--ip", "192.0.2.255", "--netmask", "255.255.255.0", "--gateway", "192.0.2.254"},
         "Invalid IP address in 4th digit. It should be 1-254."},
        {{"--ip", "192.0.2.43", "--netmask", "255.255.255.0", "--gateway", "192.0.2.0"},
         "Invalid gateway IP address in 4th digit. It should be 1-254."},
        {{"--ip", "192.168.0.5", "--netmask", "255.255.255.0", "--gateway", "10.0.0.1"},
         "Gateway address input error!"},
        {{"--ip", "192.0.2.300", "--netmask", "255.255.255.0", "--gateway", "192.0.2.1"}, "--ip"},
        {{"--ip", "192.0.2.43", "--gateway", "192.0.2.1"}, "--netmask is missing"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> arguments = {"set-ip", "192.0.2.42"};
        arguments.insert(arguments.end(), row.addresses.begin(), row.addresses.end());
        const ProgramResult result = Cli(arguments);
        EXPECT_EQ(result.exitCode, 2) << row.message;
        EXPECT_NE(result.err.find(row.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(Recorded(record), "");
}

TEST_F(CliOnLan, SetDhcpPrintsTheLeaseAddress) {
    StartAdapters(
        {"--name", "NAS", "--ip", "192.0.2.44", "--lease-ip", "192.0.2.144", "--password", "pw"});
    const ProgramResult result = Cli({"set-dhcp", "192.0.2.44", "--password-stdin"}, "pw\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "192.0.2.144\n");
    EXPECT_NE(result.err.find("DHCP client enabled."), std::string::npos);
}

TEST_F(CliOnLan, TextSetsAreStoredAndOverlongValuesRefused) {
    StartAdapters({"--name", "NAS", "--ip", "192.0.2.45", "--restart-ms", "100"});
    const ProgramResult set = Cli({"set-workgroup", "192.0.2.45", "TEAM"});
    EXPECT_EQ(set.exitCode, 0);
    EXPECT_EQ(set.out, "TEAM\n") << "a set prints what it set";
    EXPECT_EQ(Cli({"workgroup", "192.0.2.45"}).out, "TEAM\n");
    // Beyond ASCII the value goes and comes back as UTF-8, whatever the system's code page.
    EXPECT_EQ(Cli({"set-workgroup", "192.0.2.45", "B\u00fcro"}).exitCode, 0);
    EXPECT_EQ(Cli({"workgroup", "192.0.2.45"}).out, "B\u00fcro\n");
    EXPECT_EQ(Cli({"set-access-mode", "192.0.2.45", "rw"}).exitCode, 0);
    EXPECT_EQ(Cli({"set-workgroup", "192.0.2.45", std::string(32, 'w')}).exitCode, 2);
    EXPECT_EQ(Cli({"set-access-mode", "192.0.2.45", "readwrite"}).exitCode, 2);
    EXPECT_EQ(Cli({"set-codepage", "192.0.2.45", "936"}).exitCode, 0);
}

TEST_F(CliOnLan, LanguageInstallsTheFilesAndSendsTheCodePage) {
    LUMISK_REQUIRE_SAMBA();
    SambaClientHome client;
    SambaServer server;
    ASSERT_TRUE(server.Start(testbed_, {{"HDD_a", true, "", ""}}));
    std::filesystem::create_directories(server.Directory("HDD_a") + "/.codepages");
    const std::string record = testbed_.TemporaryPath("requests.hex");
    StartAdapters({"--record", record,       "--adapter",     "--name",
                   "NAS",      "--ip",       "192.0.2.60",    "--disk-status",
                   "3",        "--codepage", "950",           "--restart-ms",
                   "100",      "--adapter",  "--name",        "NAS-Bare",
                   "--ip",     "192.0.2.61", "--disk-status", "1"});

    // Stand-in files are refused before the adapter hears anything, unless allowed.
    if (EmbeddedCodepagesAreStandIns()) {
        unsetenv("LUMISK_ALLOW_STAND_IN_CODEPAGES");
        const ProgramResult standIns = Cli({"language", "192.0.2.60", "850", "--no-wait"});
        EXPECT_EQ(standIns.exitCode, 1);
        EXPECT_NE(standIns.err.find("stand-in code-page files"), std::string::npos) << standIns.err;
        EXPECT_NE(standIns.err.find("-DLUMISK_CODEPAGE_DIR"), std::string::npos) << standIns.err;
        EXPECT_EQ(Recorded(record), "");
    }
    setenv("LUMISK_ALLOW_STAND_IN_CODEPAGES", "1", 1);

    EXPECT_EQ(Cli({"language", "192.0.2.60", "437"}).exitCode, 2);
    const ProgramResult refused = Cli({"language", "192.0.2.61", "850", "--no-wait"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("No hard drives were detected."), std::string::npos) << refused.err;

    const ProgramResult installed = Cli({"language", "192.0.2.60", "850", "--no-wait"});
    EXPECT_EQ(installed.exitCode, 0) << installed.err;
    EXPECT_EQ(installed.out, "");
    EXPECT_NE(installed.err.find("writing nls_cp850.o"), std::string::npos) << installed.err;
    for (const char* name : {"codepage.850", "nls_cp850.o", "unicode_map.850"}) {
        EXPECT_TRUE(std::filesystem::exists(server.Directory("HDD_a") + "/.codepages/" + name))
            << name;
    }

    // Without --no-wait it waits the whole 90 s of the restart, on the clock it is given.
    testing::FakeClock clock;
    const auto drives = MakeSystemDrives();
    const auto files = MakeSystemShareFiles();
    CommandHost host{*drives, *files, clock};
    ::testing::internal::CaptureStderr();
    {
        InWorkstation inWorkstation(testbed_);
        EXPECT_EQ(RunCommandLine({"language", "192.0.2.60", "850"}, host), ExitSuccess);
        CloseEndpoint();
    }
    EXPECT_TRUE(::testing::internal::GetCapturedStderr().ends_with("restarting: 100%\n"));
    EXPECT_EQ(clock.Elapsed(), 90s);
    server.Stop();
}

// Bash's completion of an adapter address: nothing on the first Tab, the addresses of a search
// through the card given when the second Tab lists the choices.
TEST_F(CliOnLan, CompletionSearchesForAdaptersOnlyOnASecondTab) {
    StartAdapters({"--adapter", "--name", "NAS-1", "--ip", "192.0.2.70", "--adapter", "--name",
                   "NAS-2", "--ip", "192.0.2.71", "--adapter", "--name", "NAS-3", "--ip",
                   "198.51.100.9"});
    const auto complete = [this](const char* compType) {
        const std::string script = std::string("source ") + LUMISK_CLI_COMPLETION +
                                   "; COMP_WORDS=(" LUMISK_CLI_PATH
                                   " --interface 192.0.2.1 shares 192.0.2.7)"
                                   "; COMP_CWORD=4; COMP_TYPE=" +
                                   compType + "; _lumisk_cli; printf '%s\\n' \"${COMPREPLY[@]}\"";
        return testbed_.RunInWorkstation({"bash", "-c", script});
    };
    const ProgramResult firstTab = complete("9");
    ASSERT_EQ(firstTab.exitCode, 0) << firstTab.err;
    EXPECT_EQ(firstTab.out, "\n");
    const ProgramResult secondTab = complete("63");
    ASSERT_EQ(secondTab.exitCode, 0) << secondTab.err;
    std::vector<std::string> offered;
    std::istringstream out(secondTab.out);
    for (std::string line; std::getline(out, line);) {
        offered.push_back(line);
    }
    std::ranges::sort(offered);
    EXPECT_EQ(offered, (std::vector<std::string>{"192.0.2.70", "192.0.2.71"}));
}

// The first card leads to a LAN without adapters and carries the group route, as a virtual
// bridge or a VPN often does; the adapters sit behind the other two.
class CliOnThreeCards : public CliOnLan {
protected:
    CliOnThreeCards() : CliOnLan(3) {}
};

TEST_F(CliOnThreeCards, SearchesAndTalksThroughEveryCard) {
    StartAdapters({"--adapter", "--ip", "198.51.100.20", "--identity", "00000000000b", "--adapter",
                   "--ip", "198.51.100.21", "--workgroup", "SECOND"},
                  2);
    StartAdapters({"--name", "C1", "--ip", "203.0.113.20", "--identity", "00000000000d"}, 3);
    const std::string found = Cli({"search", "--json"}).out;
    for (const char* adapter : {"00000000000bc6336414\", \"interface\": \"198.51.100.1\"}",
                                "c6336415\", \"interface\": \"198.51.100.1\"}",
                                "00000000000dcb007114\", \"interface\": \"203.0.113.1\"}"}) {
        EXPECT_NE(found.find(adapter), std::string::npos) << adapter << "\n" << found;
    }
    EXPECT_EQ(Cli({"set-workgroup", "198.51.100.21", "THIRD"}).exitCode, 0);
    EXPECT_EQ(Cli({"workgroup", "198.51.100.21"}).out, "THIRD\n");
    EXPECT_EQ(Cli({"workgroup", "203.0.113.20"}).exitCode, 0);

    EXPECT_EQ(Cli({"--interface", "203.0.113.1", "search"}).out,
              "C1\t203.0.113.20\t255.255.255.0\t0.0.0.0\tstatic\t00000000000dcb007114\n");
    const ProgramResult absent = Cli({"search", "--interface=192.0.2.77"});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_NE(absent.err.find("192.0.2.77"), std::string::npos) << absent.err;
    // A card that is down is refused as well, not searched with an empty result.
    const std::string card3 = testbed_.WorkstationInterface(3);
    ASSERT_EQ(testbed_.RunInWorkstation({"ip", "link", "set", card3, "down"}).exitCode, 0);
    const ProgramResult down = Cli({"--interface", "203.0.113.1", "search"});
    EXPECT_EQ(down.exitCode, 1);
    EXPECT_EQ(down.out, "");
    EXPECT_NE(down.err.find("203.0.113.1"), std::string::npos) << down.err;
}

}  // namespace
}  // namespace lumisk::lan
