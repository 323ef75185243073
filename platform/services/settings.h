#pragma once

#include <QString>

// The per-user settings store: one INI file per program under the user's config
// folder ($XDG_CONFIG_HOME/<app>/<app>.ini), a section per INI group.
// Section and key names are case-insensitive, as they were in the old store;
// values are plain strings and come back exactly as written.

QString GetSetting(const QString &app, const QString &section, const QString &key,
                   const QString &defaultValue = {});

// Writes through to the file at once, so that another instance sees the change.
// Throws VbError (PermissionDenied) when the file cannot be written.
void SaveSetting(const QString &app, const QString &section, const QString &key,
                 const QString &value);

// Removing a key that is not there is not an error.
void DeleteSetting(const QString &app, const QString &section, const QString &key);
