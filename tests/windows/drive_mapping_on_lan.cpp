// Connect and Disconnect of lumisk.exe's window on the Windows logic of the drive mapping, under
// Wine in the LAN testbed. Wine has no network provider: the system's calls are answered by a fake
// with the texts and codes Windows gives.

#include <gtest/gtest.h>

#include <memory>

#include "cli/commands.h"
#include "drives/windows_drives.h"
#include "drives/windows_share_files.h"
#include "language/language_dialog.h"
#include "protocol/endpoint.h"
#include "protocol/utf16_text.h"
#include "setup/login_dialog.h"
#include "tests/gui/language_fixture.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/support/fake_drive_calls.h"
#include "tests/windows/gui_driver.h"

namespace lumisk::gui_test {
namespace {

// Searches, queries and a login dialog per row: a minute is ample.
constexpr int LongestRunMs = 60000;

constexpr wchar_t GuestShare[] = L"\\\\NAS-Office\\HDD_a";
constexpr wchar_t ProtectedShare[] = L"\\\\NAS-Office\\HDD_b";
constexpr char MapFailure[] = "Failed to map drive.";
constexpr char UnmapFailure[] =
    "Unable to disconnect this drive.\nPlease select a drive to disconnect and verify that the "
    "drive is not being accessed.";

// The fake calls and the drives and share files on them, made before the window that uses them.
struct WindowsCalls {
    testing::FakeDriveCalls calls;
    std::unique_ptr<HostDrives> windowsDrives = MakeWindowsDrives(calls);
    std::unique_ptr<ShareFileWriter> windowsFiles = MakeWindowsShareFiles(calls);
};

class WindowsDriveMapping : protected WindowsCalls, public MainWindowOnLan {
protected:
    WindowsDriveMapping() : MainWindowOnLan(*windowsDrives) {}

    struct CliResult {
        int status;
        std::string out;
        std::string err;
    };
    // lumisk-cli with `words` on the same fake calls, with an endpoint of its own.
    CliResult Cli(const std::vector<std::string>& words) {
        CloseEndpoint();
        CommandHost cliHost{*windowsDrives, *windowsFiles};
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int status = RunCommandLine(words, cliHost);
        CloseEndpoint();
        const std::string out = ::testing::internal::GetCapturedStdout();
        return {status, out, ::testing::internal::GetCapturedStderr()};
    }

    // Checks that `result` failed with `message` on lines of their own (after any progress
    // lines) and a reason that holds `reason` below them.
    static void ExpectFailure(const CliResult& result, const std::string& message,
                              const std::string& reason) {
        EXPECT_EQ(result.status, ExitFailure);
        const std::size_t at = ("\n" + result.err).find("\n" + message + "\n");
        ASSERT_NE(at, std::string::npos) << result.err;
        EXPECT_NE(result.err.find(reason, at + message.size()), std::string::npos) << result.err;
    }
};

// Each refusal of the system, through the window's Connect and lumisk-cli connect: the message
// the user knows on the first line, and on the second what happened and what to do. The login
// dialog shows once, after the first refusal, as ever.
TEST_F(WindowsDriveMapping, EveryRefusalSaysWhy) {
    StartFourAdapters();
    calls.providerError = {42, L"The adapter is asleep", L"Velnora Network"};
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
                const auto boxes = RunAndAnswerMessageBoxes([] { ClickButton(control::Connect); });
                ExpectFailureBox(boxes, MapFailure, row.reason);
                EXPECT_EQ(asked, 1) << row.code;
                EXPECT_EQ(boxes.at(0).text.find("SMB1") == std::string::npos, row.smb1Client);
            }
            ClickButton(control::Exit);
        },
        LongestRunMs);
    for (const auto& row : rows) {
        calls.refusals[GuestShare] = row.code;
        calls.smb1Client = row.smb1Client;
        ExpectFailure(Cli({"connect", "192.0.2.20", "HDD_a", "D"}), MapFailure, row.reason);
    }
}

// Each refusal to let a drive go, through the window's Disconnect and lumisk-cli disconnect.
TEST_F(WindowsDriveMapping, EveryRefusedDisconnectSaysWhy) {
    StartFourAdapters();
    calls.connections = {{L"E:", {GuestShare}}, {L"F:", {ProtectedShare}}};
    calls.cancelRefusals = {{L"E:", ERROR_OPEN_FILES}, {L"F:", ERROR_DEVICE_IN_USE}};
    const struct {
        const char* adapter;
        const char* share;
        const char* letter;
        const char* reason;
    } rows[] = {{"NAS-Office", "HDD_a", "E", "Files on E: are open"},
                {"NAS-Office", "HDD_b", "F", "F: is in use by a program"},
                // A share without a Location gives the system an empty local name.
                {"NAS-Lab", "HDD_1", "", "The drive is not mapped to a network share"}};
    RunDialog(dialog, [&] {
        for (const auto& row : rows) {
            ASSERT_TRUE(ChooseShare(row.adapter, row.share));
            ExpectFailureBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Disconnect); }),
                             UnmapFailure, row.reason);
        }
        ClickButton(control::Exit);
    });
    ExpectFailure(Cli({"disconnect", "E"}), UnmapFailure, rows[0].reason);
    ExpectFailure(Cli({"disconnect", "G"}), UnmapFailure, "G: is not mapped to a network share");
}

TEST_F(WindowsDriveMapping, CredentialsReachTheSystemAsTheLoginDialogShowsThem) {
    StartFourAdapters();
    calls.passwords[ProtectedShare] = L"p\u00e4ssw\u00f6rd";
    std::wstring shownUser;
    std::wstring shownPassword;
    RunDialog(dialog, [&] {
        ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_b"));
        WhenDialogShown(LoginDialog::TemplateId, [&] {
            TypeText(LoginDialog::UserNameEdit, "J\u00fcrgen");
            TypeText(LoginDialog::PasswordEdit, "p\u00e4ssw\u00f6rd");
            shownUser = Widen(ControlText(LoginDialog::UserNameEdit));
            shownPassword = Widen(ControlText(LoginDialog::PasswordEdit));
            ClickButton(ui::IdOk);
        });
        // Windows does not keep the password for the next logon, and the user is told.
        const auto boxes = RunAndAnswerMessageBoxes([] { ClickButton(control::Connect); });
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_NE(boxes[0].text.find("Windows remembers D: \\\\NAS-Office\\HDD_b for your next "
                                     "logon, but not its password"),
                  std::string::npos)
            << boxes[0].text;
        EXPECT_EQ(boxes[1].text, "Successfully mapped drive.");
        ClickButton(control::Exit);
    });
    ASSERT_EQ(calls.added.size(), 2u) << "the stored credentials first, then the typed ones";
    EXPECT_EQ(calls.added[1].remoteName, ProtectedShare);
    EXPECT_EQ(shownUser, L"J\u00fcrgen");
    EXPECT_EQ(calls.added[1].userName, shownUser);
    EXPECT_EQ(calls.added[1].password, shownPassword);
}

// A letter mapped to another server keeps its mapping, as it was, when a Connect on it fails or
// the letter cannot be let go; one only remembered, whose server is away, is taken, not free.
TEST_F(WindowsDriveMapping, AFailedConnectLeavesTheLettersMappingAsItWas) {
    StartFourAdapters();
    const std::wstring archive = L"\\\\fileserver\\archive";
    const std::wstring projects = L"\\\\fileserver\\projects";
    calls.connections = {{L"D:", {archive, true, false}}, {L"Z:", {projects}}};
    const std::wstring onZ = L"Z:" + std::wstring(GuestShare);
    const struct {
        std::map<std::wstring, DWORD> refusals;
        std::map<std::wstring, DWORD> cancelRefusals;
        const char* reason;
    } rows[] = {
        {{{GuestShare, ERROR_LOGON_FAILURE}}, {}, "refused the user name or password"},
        {{}, {{L"Z:", ERROR_OPEN_FILES}}, "Files on Z: are open"},
        // Refused only with the letter: the letter is let go, and given back.
        {{{onZ, ERROR_BAD_DEVICE}}, {}, "error 1200"},
        {{{onZ, ERROR_BAD_DEVICE}, {L"Z:" + projects, ERROR_BAD_NETPATH}},
         {},
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
                calls.cancelRefusals = row.cancelRefusals;
                ASSERT_TRUE(ChooseShare("NAS-Office", "HDD_a"));
                ASSERT_TRUE(ChooseComboItem(control::DriveLetters, "Z: \\\\fileserver\\projects"));
                WhenDialogShown(LoginDialog::TemplateId, [] { ClickButton(ui::IdCancel); });
                ExpectFailureBox(RunAndAnswerMessageBoxes([] { ClickButton(control::Connect); }),
                                 MapFailure, row.reason);
                EXPECT_TRUE(calls.withoutLetter.empty()) << row.reason;
            }
            ClickButton(control::Exit);
        },
        LongestRunMs);
    EXPECT_EQ(calls.connections.count(L"Z:"), 0u) << "the last row could not give it back";
    calls.connections[L"Z:"] = {projects};
    for (const auto& row : rows) {
        calls.refusals = row.refusals;
        calls.cancelRefusals = row.cancelRefusals;
        ExpectFailure(Cli({"connect", "192.0.2.20", "HDD_a", "Z"}), MapFailure, row.reason);
        if (&row != &rows[3]) {
            EXPECT_EQ(calls.connections.at(L"Z:").remoteName, projects) << row.reason;
            EXPECT_TRUE(calls.connections.at(L"Z:").remembered) << row.reason;
        }
    }
    calls.connections[L"Z:"] = {projects};
    EXPECT_EQ(Cli({"drives"}).out,
              "D:\t\\\\fileserver\\archive\t-\tnot mounted\n"
              "Z:\t\\\\fileserver\\projects\tZ:\\\tmounted\n");
    calls.refusals.clear();
    const CliResult guest = Cli({"connect", "192.0.2.20", "HDD_a", "Z"});
    EXPECT_EQ(guest.status, ExitSuccess);
    EXPECT_EQ(guest.err, "Successfully mapped drive.\n") << "without a password, no word of one";
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
    HostServices languageHost{*windowsDrives, system, *web, browser, *windowsFiles, SystemClock()};
    MainDialog languageDialog(languageHost, ShortRestart);
    shown = &languageDialog;
    const std::wstring directory = std::wstring(GuestShare) + L"\\.codepages\\";
    const struct {
        DWORD code;
        const char* reason;
    } rows[] = {{ERROR_ACCESS_DENIED, "was refused: the share is read-only for the user"},
                {ERROR_LOGON_FAILURE, "refused the user name or password Windows used for it"},
                {ERROR_PATH_NOT_FOUND, "is not on the adapter's disk"},
                {ERROR_DISK_FULL, "The adapter's disk is full"},
                {NO_ERROR, ""}};
    RunDialog(
        languageDialog,
        [&] {
            for (const auto& row : rows) {
                calls.writeResult = row.code;
                ASSERT_TRUE(ClickAdapter("NAS-Office"));
                WhenDialogShown(LanguageDialog::TemplateId, [] {
                    ChooseComboItem(LanguageDialog::LanguageComboId, "Western European");
                    ClickButton(ui::IdOk);
                    if (ActiveTemplateId() == LanguageDialog::TemplateId) {
                        ClickButton(ui::IdCancel);
                    }
                });
                const auto boxes = RunAndAnswerMessageBoxes([] { ClickButton(control::Language); });
                if (row.code == NO_ERROR) {
                    EXPECT_TRUE(boxes.empty());
                } else {
                    ASSERT_EQ(boxes.size(), 1u) << row.code;
                    EXPECT_EQ(boxes[0].text.substr(0, 26), "Please check hard drives.\n");
                    EXPECT_NE(boxes[0].text.find(row.reason), std::string::npos) << boxes[0].text;
                }
            }
            ClickButton(control::Exit);
        },
        LongestRunMs);
    ASSERT_EQ(calls.written.size(), 7u) << "one file for each refusal, three for the language";
    EXPECT_EQ(calls.written[0], directory + L"codepage.850");
    EXPECT_EQ(calls.written[6], directory + L"unicode_map.850");
    // A failure first: it sends no code page, so the adapter does not restart.
    calls.writeResult = ERROR_ACCESS_DENIED;
    ExpectFailure(Cli({"language", "192.0.2.20", "850", "--no-wait"}), "Please check hard drives.",
                  "the share is read-only");
    calls.writeResult = NO_ERROR;
    calls.written.clear();
    const CliResult installed = Cli({"language", "192.0.2.20", "850", "--no-wait"});
    EXPECT_EQ(installed.status, ExitSuccess) << installed.err;
    EXPECT_EQ(calls.written,
              (std::vector<std::wstring>{directory + L"codepage.850", directory + L"nls_cp850.o",
                                         directory + L"unicode_map.850"}));
}

}  // namespace
}  // namespace lumisk::gui_test
