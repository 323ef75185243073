#include "output/frmImport.h"

#include "common/files.h"
#include "common/globals.h"
#include "common/progressbar.h"
#include "common/translation.h"
#include "dao.h"
#include "data/infosettings.h"
#include "data/ownerdata.h"
#include "data/release.h"
#include "common/mainframe.h"
#include "msgbox.h"
#include "setup/boxkeys.h"
#include "variant.h"
#include "vberror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTreeView>

frmImport::frmImport()
    : ModalForm(mainWindow())
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("31,Aktualizace dat"));
    auto *grid = new QGridLayout(this);
    const auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdInternet = button("cmdInternet", "260,Přes internet");
    cmdAdresar = button("cmdAdresar", "384,Z adresáře");
    cmdKonec[0] = button("cmdKonec", "111,Konec");
    cmdKonec[1] = button("cmdKonec", "111,Konec");
    cmdOK = button("cmdOK", "30,Aktualizace");
    auto *top = new QHBoxLayout;
    top->addWidget(cmdInternet);
    top->addWidget(cmdAdresar);
    top->addWidget(cmdKonec[0]);
    grid->addLayout(top, 0, 0);
    lbl = new QLabel(this);
    lbl->setObjectName(QStringLiteral("lbl"));
    grid->addWidget(lbl, 1, 0);
    picStatus = new QLabel(this);
    picStatus->setObjectName(QStringLiteral("picStatus"));
    picStatus->setFixedHeight(20);
    picStatus->setMinimumWidth(300);
    grid->addWidget(picStatus, 2, 0);
    // The folder list stands for the drive and folder lists: one tree from the root.
    dirModel = new QFileSystemModel(this);
    dirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dirModel->setRootPath(QDir::rootPath());
    dir = new QTreeView(this);
    dir->setObjectName(QStringLiteral("dir"));
    dir->setModel(dirModel);
    for (int c = 1; c < dirModel->columnCount(); ++c)
        dir->hideColumn(c);
    dir->header()->hide();
    dir->setMinimumHeight(220);
    // The folders come in as they are read: the chosen one stays in view meanwhile.
    connect(dirModel, &QFileSystemModel::directoryLoaded, dir,
            [this] { dir->scrollTo(dir->currentIndex(), QAbstractItemView::PositionAtTop); });
    grid->addWidget(dir, 3, 0);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdOK);
    bottom->addWidget(cmdKonec[1]);
    grid->addLayout(bottom, 4, 0);
    for (QWidget *w : {static_cast<QWidget *>(dir), static_cast<QWidget *>(cmdOK), static_cast<QWidget *>(cmdKonec[1])})
        w->hide();
    connect(cmdInternet, &QPushButton::clicked, this, &frmImport::cmdInternet_Click);
    connect(cmdAdresar, &QPushButton::clicked, this, &frmImport::cmdAdresar_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmImport::cmdOK_Click);
    for (QPushButton *b : cmdKonec)
        connect(b, &QPushButton::clicked, this, &QWidget::close);
}

void frmImport::Zobraz()
{
    Form_Load();
    ZobrazModalne();
}

void frmImport::Form_Load()
{
    m_zdroj = AppPath + QLatin1String(kSlozkaStahovani);
    try {
        VyprazdniSlozku(m_zdroj);
    } catch (const VbError &) {
        // the web update says so when it cannot write there
    }
    PrelozFormular(*this, 0);
}

void frmImport::Form_QueryUnload(bool &Cancel)
{
    Cancel = m_running;
}

void frmImport::cmdAdresar_Click()
{
    for (QWidget *w : {static_cast<QWidget *>(dir), static_cast<QWidget *>(cmdOK), static_cast<QWidget *>(cmdKonec[1])})
        w->show();
    const QModelIndex start = dirModel->index(AppPath);
    dir->setCurrentIndex(start);
    dir->expand(start);
    adjustSize();
    dir->scrollTo(start, QAbstractItemView::PositionAtTop);
}

void frmImport::status(const QString &text)
{
    lbl->setText(text);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmImport::busy(bool on)
{
    m_running = on;
    for (QPushButton *b : {cmdInternet, cmdAdresar, cmdKonec[0], cmdKonec[1], cmdOK})
        b->setEnabled(!on);
}

void frmImport::cmdInternet_Click()
{
    if (m_running)
        return;
    busy(true);
    // The update closes the window as it hands over to the updater.
    const QPointer<frmImport> alive(this);
    const auto idle = qScopeGuard([this, alive] {
        if (alive)
            busy(false);
    });
    // Every web update fetches into dnload/, whatever folder an update before chose.
    m_zdroj = AppPath + QLatin1String(kSlozkaStahovani);
    m_adresa = AdresaAktualizace(*Db);
    const QString title = windowTitle();
    for (;;) {
        bool ask = false;
        if (m_adresa.isEmpty()) {
            if (MsgBox(PrelozText(QStringLiteral("29,Adresa pro aktualizaci není uvedena. Chcete ji zadat ručně?")),
                       vbYesNo | vbQuestion, title)
                == vbNo)
                return;
            ask = true;
        } else {
            m_adresa = NormalizujAdresu(m_adresa);
            if (!JeAdresaPlatna(m_adresa)) {
                if (MsgBox(PrelozText(QStringLiteral(
                               "101,Internetová adresa pro aktualizaci nemá správný formát. Aktualizace nebude provedena."))
                               + QLatin1Char('\n') + PrelozText(QStringLiteral("93,Chcete adresu zadat ručně?")),
                           vbYesNo | vbQuestion, title)
                    == vbNo)
                    return;
                ask = true;
            }
        }
        if (!ask) {
            status(PrelozText(QStringLiteral("114,Kontrola dat na serveru...")));
            bool fetched = false;
            try {
                VyprazdniSlozku(m_zdroj);
                fetched = StahniSoubor(m_adresa + QStringLiteral("/") + QLatin1String(kSeznamVydani),
                                       m_zdroj + QLatin1String(kSeznamVydani));
            } catch (const VbError &) {
            }
            if (!fetched) {
                status(QString());
                if (MsgBox(PrelozText(QStringLiteral(
                               "174,Není připojení k internetu nebo adresa pro aktualizaci není správná. Chcete adresu zadat ručně?")),
                           vbYesNo | vbQuestion, title)
                    == vbNo)
                    return;
            } else {
                const QString razitko = RazitkoVydaniSouboru(m_zdroj + QLatin1String(kSeznamVydani));
                if (!JeNovejsi(razitko, NactiInfo(QStringLiteral("Aktualizace"), QStringLiteral("20000000000000")))) {
                    status(QString());
                    MsgBox(PrelozText(QStringLiteral("167,Nebyly nalezeny žádné změny.")), vbInformation, title);
                    close();
                    return;
                }
                status(PrelozText(QStringLiteral("73,Download dat ze serveru...")));
                if (StahniAktualizaci())
                    SpustAktualizaci(razitko);
                return;
            }
        }
        const QString typed = InputBox(PrelozText(QStringLiteral("385,Zadejte internetovou adresu pro aktualizaci dat")),
                                       title, m_adresa)
                                  .trimmed();
        if (typed.isEmpty())
            return;
        m_adresa = typed;
    }
}

bool frmImport::StahniAktualizaci()
{
    const int count = int(std::size(kSouboryVydani));
    const QString failed = StahniVydani(m_adresa, m_zdroj, StahniSoubor, [this, count](int n, const QString &name) {
        KresliPrubeh(*picStatus, float(n - 1) / float(count), false);
        status(PrelozText(QStringLiteral("74,Download souboru")) + QLatin1Char(' ') + m_adresa + QLatin1Char('/') + name);
    });
    KresliPrubeh(*picStatus, failed.isEmpty() ? 1.f : 0.f, failed.isEmpty());
    status(QString());
    if (failed.isEmpty())
        return true;
    // Nothing of a release that lacks its catalog goes to the updater.
    try {
        VyprazdniSlozku(m_zdroj);
    } catch (const VbError &) {
    }
    MsgBox(PrelozText(QStringLiteral("488,Soubor aktualizace se nepodařilo stáhnout. Aktualizace nebude provedena:"))
               + QLatin1Char(' ') + m_adresa + QLatin1Char('/') + failed,
           vbExclamation, windowTitle());
    return false;
}

void frmImport::SpustAktualizaci(const QString &razitko)
{
    status(PrelozText(QStringLiteral("233,Probíhá aktualizace dat...")));
    QString updater;
    try {
        updater = PripravAktualizator(AppPath, m_zdroj);
    } catch (const VbError &) {
        updater = QFileInfo::exists(AppPath + QLatin1String(kAktualizator)) ? AppPath + QLatin1String(kAktualizator) : QString();
    }
    if (updater.isEmpty()) {
        status(QString());
        MsgBox(PrelozText(QStringLiteral("309,Soubor 'update' nebyl nalezen. Nelze provést aktualizaci dat.")),
               vbCritical, windowTitle());
        return;
    }
    // The release counts as applied once the updater has it; should the updater then
    // fail, the same release is offered again only after the setting is cleared.
    // Started in the program folder, whose files it is there to replace.
    if (OtevriSoubor(updater, ParametryAktualizace(AppPath, m_zdroj, m_adresa), AppPath) > 32)
        UlozInfo(QStringLiteral("Aktualizace"), razitko);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_running = false;
    close();
    UkonciProgram();
}

void frmImport::cmdOK_Click()
{
    if (m_running)
        return;
    m_adresa.clear();
    QString folder = dirModel->filePath(dir->currentIndex());
    if (folder.isEmpty())
        return;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (MsgBox(PrelozText(QStringLiteral("249,Provést aktualizaci z adresáře")) + QLatin1Char(' ') + folder + QLatin1Char('?'),
               vbYesNo | vbQuestion)
        == vbNo)
        return;
    if (!QFileInfo::exists(folder + QLatin1String(kSeznamVydani))) {
        MsgBox(PrelozText(QStringLiteral("163,Nebyl nalezen soubor 'download.inf'. Aktualizaci nelze provést.")),
               vbExclamation, windowTitle());
        return;
    }
    const QString razitko = RazitkoVydaniSouboru(folder + QLatin1String(kSeznamVydani));
    if (!JeNovejsi(razitko, NactiInfo(QStringLiteral("Aktualizace"), QStringLiteral("20000000000000"))))
        return;
    m_zdroj = folder;
    busy(true);
    const QPointer<frmImport> alive(this);
    SpustAktualizaci(razitko);
    if (alive)
        busy(false);
}
