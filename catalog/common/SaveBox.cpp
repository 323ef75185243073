#include "common/SaveBox.h"

#include "system.h"
#include "common/translation.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

// The design, in twips.
constexpr int kWidth = 4200;
constexpr int kHeight = 1500;
constexpr int kMargin = 1000;

}  // namespace

SaveBox::SaveBox()
{
    setObjectName(QStringLiteral("SaveBox"));
    setWindowTitle(QStringLiteral("237,Oskal"));
    setFixedSize(sys::toPixels(kWidth), sys::toPixels(kHeight));

    lbl = new QLabel(QStringLiteral("405,Změny byly uloženy"), this);
    lbl->setObjectName(QStringLiteral("lbl"));
    cmd = new QPushButton(QStringLiteral("196,OK"), this);
    cmd->setObjectName(QStringLiteral("cmd"));
    cmd->setDefault(true);
    cmd->resize(sys::toPixels(1200), sys::toPixels(375));
    tmr = new QTimer(this);
    tmr->setObjectName(QStringLiteral("tmr"));
    tmr->setInterval(1000);
    connect(tmr, &QTimer::timeout, this, &SaveBox::tmr_Timer);
    connect(cmd, &QPushButton::clicked, this, &QDialog::close);

    // Load.
    PrelozFormular(*this, 0);
    lbl->adjustSize();
    lbl->move((width() - lbl->width()) / 2, sys::toPixels(250));
    cmd->move((width() - cmd->width()) / 2, sys::toPixels(900));
    tmr->start();
}

void SaveBox::tmr_Timer()
{
    tmr->stop();
    close();
}

void SaveBox::Message(const QString &text)
{
    lbl->setText(text);
    lbl->adjustSize();
    const int needed = lbl->width() + sys::toPixels(2 * kMargin);
    if (needed > width()) {
        setFixedWidth(needed);
        lbl->move(sys::toPixels(kMargin), lbl->y());
        cmd->move(width() / 2 - cmd->width() / 2, cmd->y());
    }
}
