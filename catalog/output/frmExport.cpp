#include "output/frmExport.h"

#include "common/globals.h"
#include "common/progressbar.h"
#include "common/translation.h"
#include "dao.h"
#include "data/ownerdata.h"
#include "data/release.h"
#include "msgbox.h"
#include "setup/boxkeys.h"
#include "variant.h"
#include "vberror.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

frmExport::frmExport()
    : ModalForm(mainWindow())
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("82,Export dat"));
    auto *grid = new QGridLayout(this);
    Label1 = new QLabel(QStringLiteral("88,Exportovat změny od"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtDatum = new QLineEdit(this);
    txtDatum->setObjectName(QStringLiteral("txtDatum"));
    txtDatum->installEventFilter(this);
    QPalette rest = txtDatum->palette();
    rest.setColor(QPalette::Base, QPalette().color(QPalette::Button));
    txtDatum->setPalette(rest);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(txtDatum, 0, 1);
    lbl = new QLabel(this);
    lbl->setObjectName(QStringLiteral("lbl"));
    grid->addWidget(lbl, 1, 0, 1, 2);
    picStatus = new QLabel(this);
    picStatus->setObjectName(QStringLiteral("picStatus"));
    picStatus->setFixedHeight(20);
    picStatus->setMinimumWidth(300);
    picStatus->setFocusPolicy(Qt::StrongFocus);
    grid->addWidget(picStatus, 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdExport = new QPushButton(QStringLiteral("87,Exportovat"), this);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdKonec = new QPushButton(QStringLiteral("111,Konec"), this);
    cmdKonec->setObjectName(QStringLiteral("cmdKonec"));
    for (QPushButton *b : {cmdExport, cmdKonec}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 3, 0, 1, 2);
    connect(cmdExport, &QPushButton::clicked, this, &frmExport::cmdExport_Click);
    connect(cmdKonec, &QPushButton::clicked, this, &QWidget::close);
}

void frmExport::Zobraz()
{
    Form_Load();
    ZobrazModalne();
}

void frmExport::Form_Load()
{
    const std::optional<QDateTime> export_ = NactiDatumExportu(*Db);
    txtDatum->setText(TextDataExportu(export_));
    m_datum = export_ ? *export_ : QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    PrelozFormular(*this, 0);
    // The box takes no focus until asked for, so that opening the window asks nothing.
    cmdExport->setFocus();
}

bool frmExport::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != txtDatum || m_running || m_asking)
        return QDialog::eventFilter(watched, event);
    const auto reason = [event] { return static_cast<QFocusEvent *>(event)->reason(); };
    // The window losing and regaining the focus (to a message box, a menu) neither
    // enters nor leaves the box.
    if (event->type() == QEvent::FocusIn && !m_editing && reason() != Qt::ActiveWindowFocusReason
        && reason() != Qt::PopupFocusReason) {
        m_asking = true;
        const auto done = qScopeGuard([this] { m_asking = false; });
        if (MsgBox(PrelozText(QStringLiteral("227,Pozor upravujete datum exportu. Pokračovat?")), vbYesNo | vbQuestion,
                   windowTitle())
            == vbNo) {
            picStatus->setFocus(Qt::OtherFocusReason);
            return true;
        }
        m_editing = true;
        QPalette p = txtDatum->palette();
        p.setColor(QPalette::Base, QPalette().color(QPalette::Base));
        txtDatum->setPalette(p);
        txtDatum->setFocus(Qt::OtherFocusReason);
    } else if (event->type() == QEvent::FocusOut && m_editing && reason() != Qt::ActiveWindowFocusReason
               && reason() != Qt::PopupFocusReason) {
        m_editing = false;
        QPalette p = txtDatum->palette();
        p.setColor(QPalette::Base, QPalette().color(QPalette::Button));
        txtDatum->setPalette(p);
        txtDatum->setText(UpravDatumExportu(txtDatum->text(), m_datum, QDate::currentDate()));
    }
    return QDialog::eventFilter(watched, event);
}

void frmExport::Form_QueryUnload(bool &Cancel)
{
    Cancel = m_running;
}

void frmExport::status(const QString &message)
{
    lbl->setText(message.isEmpty() ? QString() : PrelozText(message));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmExport::fail(const VbError &e)
{
    const QString text = e.Number() == 70
                             ? PrelozText(QStringLiteral("272,Při vytváření katalogu došlo k chybě. (")) + e.Description()
                                   + QStringLiteral(")\n")
                                   + PrelozText(QStringLiteral(
                                       "231,Pravděpodobně je adresář export či jeho podadresáře prohlížen jiným programem."))
                             : PrelozText(QStringLiteral("271,Při vytváření katalogu došlo k chybě.")) + QLatin1Char('\n')
                                   + e.Description();
    MsgBox(text, vbCritical, windowTitle());
}

void frmExport::cmdExport_Click()
{
    if (m_running)
        return;
    const QString adresa = AdresaAktualizace(*Db);
    if (adresa.isEmpty()
        && MsgBox(PrelozText(QStringLiteral("175,Není uvedena adresa pro aktualizace přes internet. Pokračovat?")),
                  vbYesNo | vbQuestion, windowTitle())
               == vbNo)
        return;
    if (MsgBox(PrelozText(QStringLiteral("311,Spustit export dat?")), vbYesNo | vbQuestion, windowTitle()) == vbNo)
        return;
    m_running = true;
    cmdExport->setEnabled(false);
    cmdKonec->setEnabled(false);
    const bool done = export_();
    m_running = false;
    lbl->clear();
    KresliPrubeh(*picStatus, 0, false);
    QApplication::restoreOverrideCursor();
    if (done)
        MsgBox(PrelozText(QStringLiteral("86,Export úspěšně proveden.")), vbInformation | vbOKOnly, windowTitle());
    close();
}

bool frmExport::export_()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto progress = [this](int done, int count) {
        KresliPrubeh(*picStatus, count ? float(done) / float(count) : 0.f, false);
    };
    const QString od = txtDatum->text();
    const QString folder = AppPath + QLatin1String(kSlozkaVydani);
    QStringList refused;
    try {
        status(QStringLiteral("115,Kontrola fotografií..."));
        ZajistiIndexPriloh(*Db);
        const std::vector<PrilohaRadek> missing = KontrolujPrilohy(*Db, AppPath, progress);
        KresliPrubeh(*picStatus, 0, false);
        if (!missing.empty()) {
            QStringList names;
            for (const PrilohaRadek &r : missing)
                names << r.Soubor;
            names.removeDuplicates();
            QApplication::restoreOverrideCursor();
            const int answer = MsgBox(PrelozText(QStringLiteral(
                                          "486,Soubory těchto příloh nejsou ve složce img. Odstranit jejich záznamy?"))
                                          + QLatin1Char('\n') + names.join(QStringLiteral(", ")),
                                      vbYesNo | vbQuestion, windowTitle());
            QApplication::setOverrideCursor(Qt::WaitCursor);
            if (answer == vbYes)
                SmazPrilohy(*Ws, *Db, missing);
        }
        if (!QDir().mkpath(folder))
            throw VbError(76, QStringLiteral("Export"), QStringLiteral("'%1': the folder cannot be made.").arg(folder));
        status(QStringLiteral("84,Export fotografií..."));
        refused = ExportujPrilohy(*Db, AppPath, folder, RazitkoVydani(od.toLatin1()), progress);
        status(QStringLiteral("83,Export dat..."));
        ExportujProgram(AppPath, folder, RazitkoVydani(od.toLatin1()));
        ExportujKatalog(*Db, folder);
        ZapisSeznamVydani(folder, od);
        status(QString());
        ZapisExport(*Db, QDateTime::currentDateTime());
    } catch (const VbError &e) {
        QApplication::restoreOverrideCursor();
        fail(e);
        return false;
    }
    QApplication::restoreOverrideCursor();
    if (!refused.isEmpty())
        MsgBox(PrelozText(QStringLiteral(
                   "487,Tyto přílohy nebyly exportovány, jejich název není holé jméno souboru nebo patří souboru vydání:"))
                   + QLatin1Char('\n') + refused.join(QStringLiteral(", ")),
               vbExclamation, windowTitle());
    return true;
}
