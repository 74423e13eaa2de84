// Connection strings and the credentials composed into them: any configured text is
// taken apart without harm; credentials typed at the login end up in the string the
// driver reads, and never in the string shown to the user.

#include "app/startup.h"
#include "core/app_state.h"
#include "db/connection_string.h"
#include "fuzz_support.h"

using namespace kelvarn;
using namespace kelvarn::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const uint8_t choice = in.byte();
    const QString configured = in.text();
    const QString user = in.text();
    const QString password = in.text();

    const ConnectionParams params = parseConnectionString(configured);
    FUZZ_CHECK(!params.provider.isEmpty(), configured);

    AppState state;
    state.platform = QString::number(1 + choice % 5);
    state.startMode = (choice & 0x80) ? StartMode::Install : StartMode::Normal;
    state.connectionString = configured;
    bool asked = false;
    composeCredentials(state, [&](QString& u, QString& p) {
        asked = true;
        u = user;
        p = password;
        return true;
    });
    FUZZ_CHECK(state.loggedIn, configured);
    FUZZ_CHECK(state.connectionStringShown == connectionStringWithoutCredentials(state.connectionString),
               state.connectionString);

    // Credentials in the configured string under any of the names the driver side
    // knows (the login looks only for "User ID=" and "Password=").
    bool configuredCredentials = false;
    for (const QString& item : configured.split(QLatin1Char(';'))) {
        const QString key = item.left(item.indexOf(QLatin1Char('='))).trimmed().toLower();
        if (item.contains(QLatin1Char('=')) &&
            (key == QLatin1String("user id") || key == QLatin1String("uid") || key == QLatin1String("user") ||
             key == QLatin1String("password") || key == QLatin1String("pwd")))
            configuredCredentials = true;
    }
    configuredCredentials = configuredCredentials || configured.contains(QLatin1String("User ID=")) ||
                            configured.contains(QLatin1String("Password="));
    // A ";" or an item name typed into the login cannot be written into the item
    // syntax of the string as composed today (it ends or starts an item); such
    // credentials are left out here.
    const auto itemSafe = [](const QString& typed) {
        return !typed.contains(QLatin1Char(';')) && !typed.contains(QLatin1String("User ID=")) &&
               !typed.contains(QLatin1String("Password="));
    };
    if (asked && itemSafe(user) && itemSafe(password) && !configuredCredentials) {
        // What was typed is what the driver gets, and the user sees the string as configured.
        const ConnectionParams composed = parseConnectionString(state.connectionString);
        FUZZ_CHECK(composed.user == user.trimmed(), state.connectionString);
        FUZZ_CHECK(composed.password == password.trimmed(), state.connectionString);
        FUZZ_CHECK(state.connectionStringShown == configured,
                   state.connectionStringShown + QStringLiteral(" <> ") + configured);
    }
    return 0;
}
