#include "setup/admin_login.h"

#include "protocol/device_table.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"

namespace lumisk {

AdminLoginResult LogInAsAdministrator(
    const ExchangeRunner& run, const std::function<std::optional<std::string>()>& askPassword) {
    CopyText(LoginUserName, AdministratorName);
    CopyText(LoginPassword, "");
    if (run(VerifyLogin) != 0) {
        return AdminLoginResult::Accepted;
    }
    const std::optional<std::string> password = askPassword();
    if (!password) {
        return AdminLoginResult::NoPassword;
    }
    CopyText(LoginPassword, *password);
    return run(VerifyLogin) != 0 ? AdminLoginResult::Accepted : AdminLoginResult::WrongPassword;
}

}  // namespace lumisk
