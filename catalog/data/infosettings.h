#pragma once

#include <QString>

// The program's per-user settings: named texts under application "Oskal", section "INFO".
QString NactiInfo(const QString &key, const QString &defaultValue = QString());
void UlozInfo(const QString &key, const QString &value);
// Removes a setting; a key that is not there is no failure.
void SmazInfo(const QString &key);
