#include "common/Hlaska.h"

#include "system.h"
#include "common/translation.h"

#include <QLabel>
#include <QVBoxLayout>

Hlaska::Hlaska(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Hlaska"));
    setWindowTitle(QStringLiteral("237,Oskal"));
    lbl = new QLabel(QStringLiteral("Moment prosím..."), this);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbl);
    setMinimumSize(sys::toPixels(4500), sys::toPixels(1000));
    PrelozFormular(*this, 0);
}

void Hlaska::Zprava(const QString &text)
{
    lbl->setText(text);
    if (isVisible())
        repaint();
}
