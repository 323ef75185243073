#include "registration.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace {

std::function<qint16(const QString &)> &hook()
{
    static std::function<qint16(const QString &)> instance;
    return instance;
}

}  // namespace

qint16 DLLSelfRegister(const QString &path)
{
    if (hook())
        return hook()(path);
    if (!QCoreApplication::instance())
        return 2;
    // QLibrary would look a bare name up on the library path: only the file itself counts.
    if (!QFileInfo(path).isFile())
        return 3;
    QLibrary library(QFileInfo(path).absoluteFilePath());
    if (!library.load())
        return 3;
    using Entry = int (*)();
    const auto entry = reinterpret_cast<Entry>(library.resolve("DllRegisterServer"));
    // The library stays loaded: a control library in use must not be unloaded under it.
    if (!entry)
        return 4;
    return entry() == 0 ? 0 : 5;
}

std::function<qint16(const QString &)> setSelfRegisterHook(std::function<qint16(const QString &)> hook_)
{
    return std::exchange(hook(), std::move(hook_));
}
