// The login dialog's pre-filling and what OK and Cancel store, on either back end.

#include <gtest/gtest.h>

#include "protocol/device_table.h"
#include "protocol/fixed_text.h"
#include "setup/login_dialog.h"
#include "tests/gui_support/dialog_driver.h"
#include "tests/support/fake_host.h"

namespace lumisk {
namespace {

constexpr WindowsVersionInfo Windows98SecondEdition = {1, 4, 10, 2222};
constexpr WindowsVersionInfo WindowsXp = {2, 5, 1, 2600};

class Login : public ::testing::Test {
protected:
    void SetUp() override {
        CopyText(LoginUserName, "before");
        CopyText(LoginPassword, "old");
    }

    void TearDown() override { AdminLoginMode = 0; }

    struct Fields {
        std::string userName;
        bool userNameEnabled;
        std::string password;
    };

    // The two fields of `login` as it opens.
    static Fields Shown(LoginDialog& login) {
        return {login.Text(LoginDialog::UserNameEdit).GetText(),
                login.IsControlEnabled(LoginDialog::UserNameEdit),
                login.Text(LoginDialog::PasswordEdit).GetText()};
    }

    testing::FakeSystem system;
    LoginDialog dialog{system};
};

TEST_F(Login, AdministratorModeFixesTheUserName) {
    AdminLoginMode = 1;
    gui_test::RunDialog(dialog, [&] {
        const Fields fields = Shown(dialog);
        EXPECT_EQ(fields.userName, "admin");
        EXPECT_FALSE(fields.userNameEnabled);
        EXPECT_EQ(fields.password, "");
        gui_test::TypeText(LoginDialog::PasswordEdit, "s3cret");
        gui_test::ClickButton(ui::IdOk);
    });
    EXPECT_STREQ(LoginUserName, "admin");
    EXPECT_STREQ(LoginPassword, "s3cret");
}

TEST_F(Login, Windows98ConnectsAsTheLoggedOnUser) {
    system.version = Windows98SecondEdition;
    system.userName = "maria";
    gui_test::RunDialog(dialog, [&] {
        const Fields fields = Shown(dialog);
        EXPECT_EQ(fields.userName, "maria");
        EXPECT_FALSE(fields.userNameEnabled);
        gui_test::PressEnter();
    });
    EXPECT_STREQ(LoginUserName, "maria");
    EXPECT_STREQ(LoginPassword, "");
}

TEST_F(Login, OtherReleasesLetTheUserTypeAName) {
    for (const std::optional<WindowsVersionInfo> version :
         {std::optional(WindowsXp), std::optional<WindowsVersionInfo>()}) {
        system.version = version;
        system.userName = "maria";
        LoginDialog login(system);
        gui_test::RunDialog(login, [&] {
            const Fields fields = Shown(login);
            EXPECT_EQ(fields.userName, "");
            EXPECT_TRUE(fields.userNameEnabled);
            gui_test::TypeText(LoginDialog::UserNameEdit, "guest");
            gui_test::ClickButton(ui::IdOk);
        });
        EXPECT_STREQ(LoginUserName, "guest");
    }
}

TEST_F(Login, CancelAndTheCloseRequestKeepTheTextsAsTheyWere) {
    gui_test::RunDialog(dialog, [&] {
        gui_test::TypeText(LoginDialog::PasswordEdit, "typed");
        gui_test::ClickButton(ui::IdCancel);
    });
    LoginDialog again(system);
    gui_test::RunDialog(again, [&] {
        gui_test::TypeText(LoginDialog::PasswordEdit, "typed");
        gui_test::RequestClose();
    });
    EXPECT_STREQ(LoginUserName, "before");
    EXPECT_STREQ(LoginPassword, "old");
}

// The limit counts the bytes sent: a character that would not fit whole is not taken.
TEST_F(Login, AtMostSixteenBytesAreTakenAndStoredWhole) {
    gui_test::RunDialog(dialog, [&] {
        gui_test::TypeText(LoginDialog::UserNameEdit, "abcdefghijklmnoép");
        gui_test::TypeText(LoginDialog::PasswordEdit, "ABCDEFGHIJKLMNOPQ");
        gui_test::ClickButton(ui::IdOk);
    });
    EXPECT_STREQ(LoginUserName, "abcdefghijklmnop");
    EXPECT_STREQ(LoginPassword, "ABCDEFGHIJKLMNOP");
    LoginDialog again(system);
    gui_test::RunDialog(again, [&] {
        gui_test::TypeText(LoginDialog::PasswordEdit, "ééééééééé");
        gui_test::ClickButton(ui::IdOk);
    });
    EXPECT_STREQ(LoginPassword, "éééééééé");
}

TEST_F(Login, AnOverlongLoggedOnUserNameIsCutToTheFieldBetweenCharacters) {
    system.version = Windows98SecondEdition;
    for (const auto& [name, cut] :
         {std::pair<std::string, std::string>{std::string(40, 'u'), std::string(16, 'u')},
          {"abcdefghijklmnoü", "abcdefghijklmno"}}) {
        system.userName = name;
        // A lambda cannot capture a structured binding.
        const std::string& shown = cut;
        LoginDialog login(system);
        gui_test::RunDialog(login, [&] {
            EXPECT_EQ(Shown(login).userName, shown);
            gui_test::ClickButton(ui::IdOk);
        });
        EXPECT_EQ(TextOf(LoginUserName), shown);
    }
}

}  // namespace
}  // namespace lumisk
