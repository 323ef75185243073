#include "data/infosettings.h"
#include "vberror.h"

#include "settings.h"

namespace {
const QString kApp = QStringLiteral("Oskal");
const QString kSection = QStringLiteral("INFO");
}  // namespace

QString NactiInfo(const QString &key, const QString &defaultValue)
{
    return GetSetting(kApp, kSection, key, defaultValue);
}

void UlozInfo(const QString &key, const QString &value)
{
    SaveSetting(kApp, kSection, key, value);
}

void SmazInfo(const QString &key)
{
    try {
        DeleteSetting(kApp, kSection, key);
    } catch (const VbError &) {
        // a settings file that cannot be written: the key stays, and nothing else depends on it
    }
}
