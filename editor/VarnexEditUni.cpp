#include "VarnexEditUni.h"

VarnexEditUni::VarnexEditUni(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("VarnexEditUni"));
}

VarnexEditUni::~VarnexEditUni() = default;
