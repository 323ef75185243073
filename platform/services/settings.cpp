#include "settings.h"

#include "vberror.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

#include <memory>
#include <optional>

namespace {

const QString Source = QStringLiteral("Settings");

// Looked up at every call: tests (and a user who logs in again) may change it.
QString settingsFile(const QString &app)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + app + QLatin1Char('/') + app + QStringLiteral(".ini");
}

std::unique_ptr<QSettings> open(const QString &app)
{
    return std::make_unique<QSettings>(settingsFile(app), QSettings::IniFormat);
}

// The spelling under which a name is already stored, matched without regard to case.
std::optional<QString> storedName(const QStringList &names, const QString &wanted)
{
    for (const QString &name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return std::nullopt;
}

// Enters the stored spelling of the section; returns false when there is none.
bool enterSection(QSettings &s, const QString &section)
{
    const auto group = storedName(s.childGroups(), section);
    if (!group)
        return false;
    s.beginGroup(*group);
    return true;
}

// A value that someone edited by hand as a bare a,b is read by QSettings as a list;
// the program only ever stored strings, so give it back as the text it was.
QString asString(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

void flush(QSettings &s)
{
    s.sync();
    if (s.status() != QSettings::NoError)
        throw VbError(vberr::PermissionDenied, Source,
                      QStringLiteral("Cannot write the settings file '%1'.").arg(s.fileName()));
}

} // namespace

QString GetSetting(const QString &app, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    const auto s = open(app);
    if (!enterSection(*s, section))
        return defaultValue;
    const auto name = storedName(s->childKeys(), key);
    if (!name)
        return defaultValue;
    return asString(s->value(*name));
}

void SaveSetting(const QString &app, const QString &section, const QString &key,
                 const QString &value)
{
    const auto s = open(app);
    if (!enterSection(*s, section))
        s->beginGroup(section);
    // Keep the spelling first written, so the file does not collect case variants.
    s->setValue(storedName(s->childKeys(), key).value_or(key), value);
    s->endGroup();
    flush(*s);
}

void DeleteSetting(const QString &app, const QString &section, const QString &key)
{
    const auto s = open(app);
    if (!enterSection(*s, section))
        return;
    bool removed = false;
    // A file edited by hand may hold more than one spelling; the key is gone only
    // when all of them are.
    for (const QString &name : s->childKeys()) {
        if (name.compare(key, Qt::CaseInsensitive) == 0) {
            s->remove(name);
            removed = true;
        }
    }
    s->endGroup();
    if (removed)
        flush(*s);
}
