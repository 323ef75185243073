#include "SystemTest.h"

#include "VarnexEditUni.h"

#include <exception>

SystemTest::SystemTest()
    : VarnexEditUni1(new VarnexEditUni(this))
{
    setObjectName(QStringLiteral("SystemTest"));
    setWindowTitle(QStringLiteral("Test kompatibility komponent"));
    VarnexEditUni1->setObjectName(QStringLiteral("VarnexEditUni1"));
}

bool ZkusSystemTest()
{
    try {
        SystemTest probe;
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
