#pragma once

#include "common/modalform.h"

class QLabel;

// The image viewer: one attachment's picture at its natural size, centred in a sizable
// window. Modal.
class frmImg : public ModalForm<frmImg>
{
    Q_OBJECT
    friend ModalForm<frmImg>;

public:
    ~frmImg() override;

    // Shows the picture of img/ named `soubor` (a bare file name) and returns when the
    // window has closed; a file that is no picture is reported instead.
    static void LoadForm(const QString &soubor);

    QLabel *img = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmImg();
};

// Opens an attachment of img/ as a click on its picture does: a picture in the viewer, a
// document with the desktop's application. An empty or not bare name opens nothing.
void OtevriPrilohu(const QString &soubor);
