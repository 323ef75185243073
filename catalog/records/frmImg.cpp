#include "records/frmImg.h"

#include "common/files.h"
#include "common/globals.h"
#include "common/translation.h"
#include "data/attachments.h"
#include "msgbox.h"
#include "records/imagefit.h"
#include "system.h"

#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

frmImg::frmImg()
{
    setObjectName(QStringLiteral("frmImg"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setWindowTitle(QStringLiteral("406,Zobrazení"));
    resize(sys::toPixels(11400), sys::toPixels(8595));
    img = new QLabel(this);
    img->setObjectName(QStringLiteral("img"));
    img->setToolTip(QStringLiteral("464,Kliknutím na obrázek se zavře náhled"));
    img->installEventFilter(this);
    PrelozFormular(*this, 0);
}

frmImg::~frmImg() = default;

void frmImg::LoadForm(const QString &soubor)
{
    const QString path = CestaPrilohy(AppPath, soubor);
    const QImage picture(path.isEmpty() ? QImage() : QImage(path));
    if (picture.isNull()) {
        MsgBox(PrelozText(QStringLiteral("194,Obrázek nebyl nalezen.")), vbExclamation, PrelozText(QStringLiteral("145,Náhled")));
        return;
    }
    frmImg &w = Form();
    w.img->setPixmap(QPixmap::fromImage(picture));
    w.img->resize(picture.size());
    w.setWindowTitle(PrelozText(QStringLiteral("406,Zobrazení:")) + QStringLiteral("  ") + soubor);
    w.NadOtevirajicimOknem();
    w.ZobrazModalne();
}

void frmImg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // Never scaled: a picture larger than the window is cut off at its edges.
    img->move((width() - img->width()) / 2, (height() - img->height()) / 2);
}

void frmImg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmImg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == img && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void OtevriPrilohu(const QString &soubor)
{
    const QString path = CestaPrilohy(AppPath, soubor);
    if (path.isEmpty())
        return;
    if (DruhPrilohy(soubor) == DruhSouboru::Obrazek)
        frmImg::LoadForm(soubor);
    else
        OtevriSoubor(path, QString());
}
