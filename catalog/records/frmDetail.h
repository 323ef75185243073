#pragma once

#include "common/modalform.h"

#include <QSize>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabBar;

// The record detail: the overview's fields of one record read-only, its note, and its
// attachments as tabs with the selected one's picture or icon. Modal; writes nothing.
class frmDetail : public ModalForm<frmDetail>
{
    Q_OBJECT
    friend ModalForm<frmDetail>;

public:
    ~frmDetail() override;

    // Shows record `inter` and returns when the user has closed the window.
    static void Zobraz(qint32 inter);

    // Rows 1 .. n stand for overview columns 1 .. n; entry 0 stays empty.
    std::vector<QLabel *> lbl;
    std::vector<QLineEdit *> cmb;
    QTabBar *tabS = nullptr;
    QFrame *fra = nullptr;
    QLabel *img = nullptr;
    QLabel *lblSoubor = nullptr;  // the name of a file that shows no picture
    QPlainTextEdit *txtPopis = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit frmDetail(qint32 inter);
    void Form_Load();
    void ZobrazZalozku();
    void clearPicture();
    void img_Click();

    qint32 m_klic = 0;
};
