#pragma once
// The login dialog: a user name and a password for the adapter's administrator login or for a
// share's network connection. It collects them and checks nothing.

#include <string>

#include "drives/host_identity.h"
#include "ui/dialog.h"

namespace lumisk {

// 1 while the LAN settings ask (the user name is fixed to "admin"); 0 while Connect asks.
extern int AdminLoginMode;

class LoginDialog : public ui::Dialog {
public:
    static constexpr int TemplateId = 134;
    static constexpr int UserNameEdit = 1016;
    static constexpr int PasswordEdit = 1017;
    static constexpr int FieldLimit = 16;

    explicit LoginDialog(HostIdentity& host);

    std::string userName;
    std::string password;

protected:
    bool OnInitDialog() override;
    // Stores both fields in LoginUserName and LoginPassword, then ends as Cancel does.
    void OnOK() override;

private:
    HostIdentity& host_;
};

}  // namespace lumisk
