#pragma once

#include "tabulix_global.h"

#include <QWidget>

// The table editor control. Hosts create it on their windows by class.
class TABULIX_EXPORT VarnexEditUni : public QWidget
{
    Q_OBJECT
public:
    explicit VarnexEditUni(QWidget *parent = nullptr);
    ~VarnexEditUni() override;
};
