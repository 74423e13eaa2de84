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

    const bool configuredCredentials = configured.contains(QLatin1String("User ID=")) ||
                                       configured.contains(QLatin1String("Password="));
    const ConnectionParams plain = parseConnectionString(configured);
    if (asked && !configuredCredentials && plain.user.isEmpty() && plain.password.isEmpty()) {
        // What was typed is what the driver gets, and the user sees the string as configured.
        const ConnectionParams composed = parseConnectionString(state.connectionString);
        FUZZ_CHECK(composed.user == user.trimmed(), state.connectionString);
        FUZZ_CHECK(composed.password == password.trimmed(), state.connectionString);
        FUZZ_CHECK(state.connectionStringShown == configured,
                   state.connectionStringShown + QStringLiteral(" <> ") + configured);
    }
    return 0;
}
