#pragma once

#include "common/singleform.h"

#include <QWidget>

class FlexGrid;

// The choice of the interface language: a grid of three rows with their flags over the
// main window's bottom right corner. The choice is stored and takes effect at the next
// start. Not modal; it closes when it loses the focus.
class frmLang : public SingleForm<frmLang, QWidget>
{
    Q_OBJECT

public:
    // Makes the window (or keeps the one open) and shows it.
    static frmLang &Form();

    FlexGrid *flg = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    frmLang();
    void Form_Load();
    void Form_Unload() override;
    void flg_Click();
    void flg_KeyPress(int &KeyAscii);
    void flg_MouseMove(float y);

    bool m_unloading = false;
};
