#pragma once

#include <QString>
#include <exception>
#include <string>

// The one error type of the platform layers: a number, the source that raised it and
// a description, as the program's messages show them ("Číslo chyby: 3265").
class VbError : public std::exception
{
public:
    VbError(int number, QString source, QString description);

    int Number() const noexcept { return m_number; }
    const QString &Source() const noexcept { return m_source; }
    const QString &Description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_source;
    QString m_description;
    std::string m_what;
};

// The runtime's own error numbers that the layers raise.
namespace vberr {
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int ItemNotFound = 3265;   // "Item not found in this collection."
}
