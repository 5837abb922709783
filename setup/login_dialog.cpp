#include "setup/login_dialog.h"

#include "protocol/device_table.h"
#include "protocol/fixed_text.h"
#include "protocol/utf8_text.h"
#include "setup/admin_login.h"

namespace lumisk {

int AdminLoginMode = 0;

namespace {

// Windows ME and 98 connect shares as the logged-on user, whatever is typed.
bool ConnectsAsLoggedOnUser(const std::string& versionName) {
    return versionName.find("ME") != std::string::npos ||
           versionName.find("98") != std::string::npos;
}

}  // namespace

LoginDialog::LoginDialog(HostIdentity& host) : ui::Dialog(TemplateId), host_(host) {}

bool LoginDialog::OnInitDialog() {
    Text(UserNameEdit).SetLimit(FieldLimit);
    Text(PasswordEdit).SetLimit(FieldLimit);
    bool userNameFixed = true;
    if (AdminLoginMode == 1) {
        userName = AdministratorName;
    } else {
        if (ConnectsAsLoggedOnUser(GetWindowsVersionText(host_))) {
            // A name the field cannot hold is cut, as typing would be, between characters.
            userName = WholeCharactersWithin(host_.UserName().value_or(""), FieldLimit);
        } else {
            userName.clear();
            userNameFixed = false;
        }
    }
    Text(UserNameEdit).SetText(userName);
    Text(PasswordEdit).SetText(password);
    EnableControl(UserNameEdit, !userNameFixed);
    return true;
}

void LoginDialog::OnOK() {
    userName = Text(UserNameEdit).GetText();
    password = Text(PasswordEdit).GetText();
    CopyText(LoginUserName, userName);
    CopyText(LoginPassword, password);
    EndDialog(ui::IdCancel);
}

}  // namespace lumisk
