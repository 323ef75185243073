#include "startup/SystemTest.h"

#include "common/LinkLabel.h"
#include "VarnexEditUni.h"
#include "common/globals.h"
#include "system.h"
#include "vberror.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <cmath>
#include <exception>

namespace {

bool failsForTests = false;

bool probeFails()
{
    if (failsForTests)
        return true;
    const QString hook = qEnvironmentVariable("OSKAL_TEST_PROBE_FAILS");
    return hook == QLatin1String("1") || (hook == QLatin1String("first") && !Restart);
}

VarnexEditUni *createControl(QWidget *parent)
{
    if (probeFails())
        throw VbError(429, QStringLiteral("SystemTest"), QStringLiteral("The table editor control cannot be created"));
    return new VarnexEditUni(parent);
}

}  // namespace

SystemTest::SystemTest()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("SystemTest"));
    setWindowTitle(QStringLiteral("Test kompatibility komponent"));
    VarnexEditUni1 = createControl(this);
    VarnexEditUni1->setObjectName(QStringLiteral("VarnexEditUni1"));
    QirLinkUni1 = new LinkLabel(this);
    QirLinkUni1->setObjectName(QStringLiteral("QirLinkUni1"));

    // The windows were laid out for a frame 405 twips high; what the platform's frame
    // adds to that, the tool windows take off their heights.
    try {
        KorekceVysky = qint16(NejmensiVyskaOkna() - 405);
    } catch (const std::exception &) {
        // KorekceVysky keeps what it held.
    }
}

SystemTest::~SystemTest() = default;

int NejmensiVyskaOkna()
{
    // The tool windows live in the main window's MDI area, in a frame that Qt draws:
    // asked for a height of 0, that frame keeps its caption and borders.
    QMdiArea area;
    QMdiSubWindow *frame = area.addSubWindow(new QWidget);
    frame->resize(frame->width(), 0);
    const int height = std::max(frame->height(), frame->minimumSizeHint().height());
    return sys::toTwips(height);
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

void NastavSelhaniSondy(bool fails)
{
    failsForTests = fails;
}
