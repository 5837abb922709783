// Connect, Disconnect and Language of lumisk.exe's window, and lumisk-cli's connect, disconnect,
// drives and language, on the Windows logic of the drive mapping, under Wine in the LAN testbed.
// Wine has no network provider: a fake answers the system's calls with Windows' own codes.

#include <gtest/gtest.h>

#include <memory>

#include "cli/commands.h"
#include "drives/windows_drives.h"
#include "drives/windows_share_files.h"
#include "protocol/endpoint.h"
#include "protocol/utf16_text.h"
#include "setup/login_dialog.h"
#include "tests/gui/language_fixture.h"
#include "tests/support/fake_drive_calls.h"

namespace lumisk::gui_test {
namespace {

constexpr int LongestRunMs = 60000;  // a search, queries and a login dialog per row
constexpr wchar_t GuestShare[] = L"\\\\NAS-Office\\HDD_a";
constexpr char MapFailure[] = "Failed to map drive.";
constexpr char UnmapFailure[] =
    "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the "
    "drive is not being accessed.";
constexpr char WriteFailure[] = "Please check hard drives.";

// The fake calls and the drives and share files on them, made before the window that uses them.
struct WindowsCalls {
    testing::FakeDriveCalls calls;
    std::unique_ptr<HostDrives> windowsDrives = MakeWindowsDrives(calls);
    std::unique_ptr<ShareFileWriter> windowsFiles = MakeWindowsShareFiles(calls);
};

class WindowsDriveMapping : protected WindowsCalls, public MainWindowOnLan {
protected:
    WindowsDriveMapping() : MainWindowOnLan(*windowsDrives) {}

    // lumisk-cli with `words` on the same fake calls and an endpoint of its own: exit status,
    // standard output and standard error.
    std::tuple<int, std::string, std::string> Cli(const std::vector<std::string>& words) {
        CloseEndpoint();
        CommandHost cliHost{*windowsDrives, *windowsFiles, SystemClock()};
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int status = RunCommandLine(words, cliHost);
        CloseEndpoint();
        const std::string out = ::testing::internal::GetCapturedStdout();
        return {status, out, ::testing::internal::GetCapturedStderr()};
    }

    // Checks that `words` fail with `message` on lines of their own (after any progress lines)
    // and a reason that holds `reason` below them.
    void ExpectCliFailure(const std::vector<std::string>& words, const std::string& message,
                          const std::string& reason) {
        const auto [status, out, err] = Cli(words);
        EXPECT_EQ(status, ExitFailure);
        const std::size_t at = ("\n" + err).find("\n" + message + "\n");
        ASSERT_NE(at, std::string::npos) << err;
        EXPECT_NE(err.find(reason, at + message.size()), std::string::npos) << err;
    }
};

// Each refusal, through the window's Connect and Disconnect and through lumisk-cli: the message
// the user knows first, and below it what happened and what to do. The login dialog shows once,
// after the first refusal of a Connect, as ever.
TEST_F(WindowsDriveMapping, EveryRefusalSaysWhy) {
    StartFourAdapters();
    calls.providerError = {42, L"The adapter is asleep", L"Velnora Network"};
    calls.connections = {{L"E:", {L"\\\\NAS-Office\\HDD_b"}}};
    calls.refusals[L"E:"] = ERROR_OPEN_FILES;
    const struct {
        DWORD code;
        const char* reason;
        bool smb1Client = true;
    } rows[] = {
        {ERROR_SESSION_CREDENTIAL_CONFLICT, "disconnect this adapter's other drives first"},
        {ERROR_ALREADY_ASSIGNED, "D: is in use by another drive"},
        {ERROR_BAD_NET_NAME, "\\\\NAS-Office has no share of that name"},
        {ERROR_BAD_NETPATH, "network, and that this computer finds it by that name."},
        // Without the SMB1 client, the adapter may be one that speaks only SMB1.
        {ERROR_BAD_NET_NAME, "add the Windows feature \"SMB 1.0/CIFS Client\"", false},
        {ERROR_BAD_NETPATH, "if \\\\NAS-Office is one, add the Windows feature", false},
        {ERROR_INVALID_PASSWORD, "refused the user name or password"},
        {ERROR_LOGON_FAILURE, "refused the user name or password"},
        {1272, "no share as a guest, by this computer's security policy"},
        {ERROR_EXTENDED_ERROR, "Velnora Network says: The adapter is asleep"},
    };
    RunDialog(
        dialog,
        [&] {
            for (const auto& row : rows) {
                calls.refusals[GuestShare] = row.code;
                calls.smb1Client = row.smb1Client;
                ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_a"));
                int asked = 0;
                WhenDialogShown(LoginDialog::TemplateId, [&asked] {
                    ++asked;
                    ClickButton(ui::IdCancel);
                });
                const auto boxes = Click(control::Connect);
                ExpectFailureBox(boxes, MapFailure, row.reason);
                EXPECT_EQ(asked, 1) << row.code;
                EXPECT_EQ(boxes.at(0).text.find("SMB1") == std::string::npos, row.smb1Client);
            }
            ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_b"));
            ExpectFailureBox(Click(control::Disconnect), UnmapFailure, "Files on E: are open");
            // A share without a Location gives the system an empty local name.
            ASSERT_TRUE(ChooseShare("NAS-Lab", "HDD_1"));
            ExpectFailureBox(Click(control::Disconnect), UnmapFailure, "The drive is not mapped");
            ClickButton(control::Exit);
        },
        LongestRunMs);
    for (const auto& row : rows) {
        calls.refusals[GuestShare] = row.code;
        calls.smb1Client = row.smb1Client;
        ExpectCliFailure({"connect", "192.0.2.20", "HDD_a", "D"}, MapFailure, row.reason);
    }
    ExpectCliFailure({"disconnect", "E"}, UnmapFailure, "Files on E: are open");
    ExpectCliFailure({"disconnect", "G"}, UnmapFailure, "G: is not mapped to a network share");
}

// On Windows NT's way, the dialog first and then one attempt, the credentials typed beyond ASCII
// reach the system as the dialog shows them; the user is told Windows keeps no password.
TEST_F(WindowsDriveMapping, CredentialsReachTheSystemAsTheLoginDialogShowsThem) {
    StartFourAdapters();
    system.version = WindowsVersionInfo{2, 4, 0, 1381};
    std::wstring typed[2];
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_b"));
        WhenDialogShown(LoginDialog::TemplateId, [&] {
            TypeText(LoginDialog::UserNameEdit, "J\u00fcrgen");
            TypeText(LoginDialog::PasswordEdit, "p\u00e4ssw\u00f6rd");
            typed[0] = Widen(ControlText(LoginDialog::UserNameEdit));
            typed[1] = Widen(ControlText(LoginDialog::PasswordEdit));
            ClickButton(ui::IdOk);
        });
        const auto boxes = Click(control::Connect);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].text.find("Windows remembers D: \\\\NAS-Office\\HDD_b for your next "
                                     "logon, but not its password"),
                  0u)
            << boxes[0].text;
        EXPECT_EQ(boxes[1].text, "Successfully mapped drive.");
        ClickButton(control::Exit);
    });
    ASSERT_EQ(calls.added.size(), 1u);
    EXPECT_EQ(typed[0], L"J\u00fcrgen");
    EXPECT_EQ(calls.added[0].userName, typed[0]);
    EXPECT_EQ(calls.added[0].password, typed[1]);
}

// A letter mapped to another server keeps its mapping, as it was, when a Connect on it fails or
// the letter cannot be let go; one only remembered, whose server is away, is taken, not free.
TEST_F(WindowsDriveMapping, AFailedConnectLeavesTheLettersMappingAsItWas) {
    StartFourAdapters();
    const std::wstring projects = L"\\\\fileserver\\projects";
    calls.connections = {{L"D:", {L"\\\\fileserver\\archive", true, false}}, {L"Z:", {projects}}};
    const std::wstring onZ = L"Z:" + std::wstring(GuestShare);
    const struct {
        std::map<std::wstring, DWORD> refusals;
        const char* reason;
    } rows[] = {
        {{{GuestShare, ERROR_LOGON_FAILURE}}, "refused the user name or password"},
        {{{L"Z:", ERROR_OPEN_FILES}}, "Files on Z: are open"},
        // Refused only with the letter: the letter is let go, and given back.
        {{{onZ, ERROR_BAD_DEVICE}}, "error 1200"},
        {{{onZ, ERROR_BAD_DEVICE}, {L"Z:" + projects, ERROR_BAD_NETPATH}},
         "Z: was \\\\fileserver\\projects before, and Windows could not give it back"},
    };
    RunDialog(
        dialog,
        [&] {
            const ui::ComboBox letters = Window().driveLetterCombo;
            EXPECT_EQ(letters.GetItemText(0), "D: \\\\fileserver\\archive");
            EXPECT_EQ(letters.GetItemText(letters.GetCurSel()), "E:");
            for (const auto& row : rows) {
                calls.refusals = row.refusals;
                ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_a"));
                ASSERT_TRUE(ChooseComboItem(control::DriveLetters, "Z: \\\\fileserver\\projects"));
                WhenDialogShown(LoginDialog::TemplateId, [] { ClickButton(ui::IdCancel); });
                ExpectFailureBox(Click(control::Connect), MapFailure, row.reason);
                EXPECT_TRUE(calls.withoutLetter.empty()) << row.reason;
                EXPECT_EQ(calls.connections.contains(L"Z:"), &row != &rows[3]) << row.reason;
            }
            ClickButton(control::Exit);
        },
        LongestRunMs);
    calls.connections[L"Z:"] = {projects};
    calls.refusals = rows[0].refusals;
    ExpectCliFailure({"connect", "192.0.2.20", "HDD_a", "Z"}, MapFailure, rows[0].reason);
    EXPECT_TRUE(calls.connections.at(L"Z:").remembered);
    EXPECT_EQ(std::get<1>(Cli({"drives"})),
              "D:\t\\\\fileserver\\archive\t-\tnot mounted\n"
              "Z:\t\\\\fileserver\\projects\tZ:\\\tmounted\n");
    calls.refusals.clear();
    EXPECT_EQ(std::get<2>(Cli({"connect", "192.0.2.20", "HDD_a", "Z"})),
              "Successfully mapped drive.\n")
        << "without a password, no word of one";
    EXPECT_EQ(calls.connections.at(L"Z:").remoteName, GuestShare);
}

// The language files go through the share's own mapping, whatever name it was made under, from
// the window and from lumisk-cli; a write the system refuses says why.
TEST_F(WindowsDriveMapping, LanguageFilesGoThroughTheSharesMapping) {
    _putenv_s("LUMISK_ALLOW_STAND_IN_CODEPAGES", "1");  // the adapter is simulated
    ASSERT_GT(testbed_.StartSimulator({"--name", "NAS-Office", "--ip", "192.0.2.20",
                                       "--disk-status", "3", "--codepage", "950", "--share-name",
                                       "HDD_a", "--restart-ms", "300"}),
              0);
    calls.connections = {{L"E:", {GuestShare}}};
    HostServices languageHost{*windowsDrives, system, web, browser, *windowsFiles, SystemClock()};
    MainDialog languageDialog(languageHost, ShortRestart);
    shown = &languageDialog;
    RunDialog(
        languageDialog,
        [&] {
            for (const DWORD code : {DWORD{ERROR_ACCESS_DENIED}, DWORD{NO_ERROR}}) {
                calls.writeResult = code;
                ASSERT_TRUE(ClickAdapter("NAS-Office"));
                WhenDialogShown(LanguageDialog::TemplateId, [] {
                    ChooseComboItem(LanguageDialog::LanguageComboId, "Western European");
                    ClickButton(ui::IdOk);
                    if (ActiveTemplateId() == LanguageDialog::TemplateId) {
                        ClickButton(ui::IdCancel);
                    }
                });
                const auto boxes = Click(control::Language);
                ASSERT_EQ(boxes.size(), code == NO_ERROR ? 0u : 1u);
                if (!boxes.empty()) {
                    EXPECT_EQ(boxes[0].text.find(std::string(WriteFailure) + "\nWriting "), 0u);
                    EXPECT_NE(boxes[0].text.find("the share is read-only"), std::string::npos);
                }
            }
            ClickButton(control::Exit);
        },
        LongestRunMs);
    const std::wstring directory = std::wstring(GuestShare) + L"\\.codepages\\";
    EXPECT_EQ(calls.written, (std::vector<std::wstring>{
                                 directory + L"codepage.850", directory + L"codepage.850",
                                 directory + L"nls_cp850.o", directory + L"unicode_map.850"}));
    // Failures first: they send no code page, so the adapter does not restart.
    const struct {
        DWORD code;
        const char* reason;
    } rows[] = {{ERROR_LOGON_FAILURE, "refused the user name or password Windows used for it"},
                {ERROR_PATH_NOT_FOUND, "is not on the adapter's disk"},
                {ERROR_DISK_FULL, "The adapter's disk is full"}};
    for (const auto& row : rows) {
        calls.writeResult = row.code;
        ExpectCliFailure({"language", "192.0.2.20", "850", "--no-wait"}, WriteFailure, row.reason);
    }
    calls.writeResult = NO_ERROR;
    EXPECT_EQ(std::get<0>(Cli({"language", "192.0.2.20", "850", "--no-wait"})), ExitSuccess);
    EXPECT_EQ(calls.written.back(), directory + L"unicode_map.850");
}

}  // namespace
}  // namespace lumisk::gui_test
