#include "core/time_zone.h"

#include <QByteArray>
#include <QFileInfo>
#include <QtGlobal>

#include <ctime>

namespace kelvarn {

void pinSystemTimeZone() {
    const char* file = "/etc/localtime";
    if (!qEnvironmentVariableIsEmpty("TZ") || !QFileInfo::exists(QString::fromLatin1(file)))
        return;
    qputenv("TZ", QByteArray(":") + file);
    tzset();
}

} // namespace kelvarn
