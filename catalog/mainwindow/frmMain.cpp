#include "mainwindow/frmMain.h"

#include "data/infosettings.h"
#include "mainwindow/archivace.h"
#include "common/mainframe.h"
#include "data/currentoverview.h"
#include "mainwindow/views.h"
#include "overview/frmPrehled.h"
#include "mainwindow/frmLang.h"
#include "mainwindow/frmLogo.h"
#include "records/frmEditace.h"
#include "records/frmNahled.h"
#include "records/frmVyber.h"
#include "setup/frmMajitel.h"
#include "setup/frmNastav.h"
#include "setup/frmSekce.h"
#include "output/frmExport.h"
#include "output/frmImport.h"
#include "common/globals.h"
#include "common/utility.h"
#include "common/translation.h"
#include "system.h"
#include "variant.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A status bar panel that reports clicks; the language flag opens the language window.
class StatusPanel : public QLabel
{
public:
    StatusPanel(const QString &key, QWidget *parent, std::function<void(const QString &)> onClick)
        : QLabel(parent), m_key(key), m_onClick(std::move(onClick))
    {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setMargin(2);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QLabel::mouseReleaseEvent(event);
        m_onClick(m_key);
    }

private:
    QString m_key;
    std::function<void(const QString &)> m_onClick;
};

QAction *item(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

// A record command of the menu goes through the overview, on its current row.
void recordCommand(qint16 code)
{
    if (frmPrehled *overview = frmPrehled::Loaded())
        overview->vEdit_Record(code);
    else
        Pipni(400, 150);
}

QMenu *submenu(QWidget *parent, const char *name, const QString &caption)
{
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

int twipsSetting(const char *key, const char *defaultValue)
{
    return sys::toPixels(int(vbVal(NactiInfo(QLatin1String(key), QLatin1String(defaultValue)))));
}

}  // namespace

QRect usablePlacement(const QRect &stored, const QRect &available)
{
    // Room for the menu bar's titles and the status bar's panels.
    constexpr QSize leastUsable(400, 300);
    const QSize size = stored.size().expandedTo(leastUsable).boundedTo(available.size());
    const int left = std::clamp(stored.left(), available.left(), available.left() + available.width() - size.width());
    const int top = std::clamp(stored.top(), available.top(), available.top() + available.height() - size.height());
    return {QPoint(left, top), size};
}

frmMain &frmMain::Form()
{
    // Loaded once made: its loading may reach the window through Form() and Loaded(), and
    // a window whose loading failed is still the main window.
    bool made = false;
    frmMain &w = formMadeBy([&made] {
        made = true;
        return new frmMain;
    });
    if (made)
        w.MDIForm_Load();
    return w;
}

frmMain::frmMain()
{
    KonecProgramu = false;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("237,Oskal"));

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pic = new QWidget(central);
    pic->setObjectName(QStringLiteral("pic"));
    auto *strip = new QHBoxLayout(pic);
    strip->setContentsMargins(6, 3, 6, 3);
    lblSekce = new QLabel(QStringLiteral("SEKCE:"), pic);
    lblSekce->setObjectName(QStringLiteral("lblSekce"));
    lblSekce->setToolTip(QStringLiteral("162,Název sekce"));
    QFont bold = lblSekce->font();
    bold.setBold(true);
    lblSekce->setFont(bold);
    strip->addWidget(lblSekce);  // as wide as its strip, whatever the frame's width
    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    layout->addWidget(pic);
    layout->addWidget(mdiArea, 1);
    setCentralWidget(central);
    // The strip shows the current section: its name, and its number as the property "Tag".
    connect(&Prehled(), &AktualniPrehled::sekceZmenena, this, [this] {
        lblSekce->setText(Prehled().NazevSekce());
        lblSekce->setProperty("Tag", Prehled().TagSekce());
    });

    createMenus();
    createStatusBar();
    RegistrujHlavniOkno(mdiArea, Panel(1), [this] { mnuEnd_Click(); });
}

frmMain::~frmMain()
{
    Prehled().disconnect(this);
    // A main window that closed while a newer one was made leaves the views and the
    // section to that one.
    if (!isInstance(this))
        return;
    // The catalog views are children of the frame: they go with it.
    UnloadViews();
    // No section is current without the main window.
    Prehled().NastavTagSekce(QString(), QString());
}

void frmMain::createMenus()
{
    QMenuBar *bar = menuBar();
    // A text of its own: the access key is the top menu's, not the settings item's.
    mnuKatalog = submenu(this, "mnuKatalog", QStringLiteral("525,&Katalog"));
    bar->addMenu(mnuKatalog);
    mnuSekce = submenu(mnuKatalog, "mnuSekce", QStringLiteral("402,Změna sekce"));
    mnuKatalog->addMenu(mnuSekce);
    mnuKatalog->addSeparator();
    mnuNew = item(mnuKatalog, "mnuNew", QStringLiteral("182,Nový záznam"));
    mnuCopy = item(mnuKatalog, "mnuCopy", QStringLiteral("122,Kopie záznamu"));
    mnuUpdate = item(mnuKatalog, "mnuUpdate", QStringLiteral("33,Aktualizace záznamu"));
    prikaz(mnuNew, [] { frmEditace::Form().Zobraz(0, false); });
    prikaz(mnuCopy, [] { recordCommand(1); });
    prikaz(mnuUpdate, [] { recordCommand(0); });
    mnuDelete = item(mnuKatalog, "mnuDelete", QStringLiteral("307,Smazat záznam"));
    prikaz(mnuDelete, [] { recordCommand(2); });
    mnuKatalog->addSeparator();
    mnuMoveAll = submenu(mnuKatalog, "mnuMoveAll", QStringLiteral("263,Přesunout vybrané záznamy do sekce"));
    mnuKatalog->addMenu(mnuMoveAll);
    mnuDeleteAll = item(mnuKatalog, "mnuDeleteAll", QStringLiteral("304,Smazat všechny vybrané záznamy"));
    prikaz(mnuDeleteAll, [this] { mnuDeleteAll_Click(); });
    mnuKatalog->addSeparator();
    mnuNahled = item(mnuKatalog, "mnuNahled", QStringLiteral("403,Změnit náhled/dokument"));
    mnuNahledAdd = item(mnuKatalog, "mnuNahledAdd", QStringLiteral("274,Přidat náhled/dokument"));
    mnuKatalog->addSeparator();
    mnuExport = item(mnuKatalog, "mnuExport", QStringLiteral("85,Export katalogu"));
    mnuImport = item(mnuKatalog, "mnuImport", QStringLiteral("32,Aktualizace katalogu"));
    prikaz(mnuExport, [] { frmExport::Form().Zobraz(); });
    prikaz(mnuImport, [] { frmImport::Form().Zobraz(); });
    mnuKatalog->addSeparator();
    mnuEnd = item(mnuKatalog, "mnuEnd", QStringLiteral("111,Konec"));
    prikaz(mnuEnd, [this] { mnuEnd_Click(); });

    // Item 0 of each section array is always there; the rest come and go with the sections.
    for (auto [menu, items, name] : {std::tuple{mnuSekce, &mnuSekceX, "mnuSekceX"}, std::tuple{mnuMoveAll, &mnuSekceM, "mnuSekceM"}})
        items->push_back(item(menu, name, QStringLiteral("300,Sekce")));
    prikaz(mnuSekceX[0], [this] { mnuSekceX_Click(0); });
    prikaz(mnuSekceM[0], [this] { mnuSekceM_Click(0); });

    mnuZobraz = submenu(this, "mnuZobraz", QStringLiteral("22,&Zobrazit"));
    bar->addMenu(mnuZobraz);
    mnuZobrazPrehled = item(mnuZobraz, "mnuZobrazPrehled", QStringLiteral("259,Přehled"));
    mnuZobrazVyber = item(mnuZobraz, "mnuZobrazVyber", QStringLiteral("368,Výběr"));
    mnuZobrazNahled = item(mnuZobraz, "mnuZobrazNahled", QStringLiteral("145,Náhled"));
    prikaz(mnuZobrazPrehled, [this] { mnuZobrazPrehled_Click(); });
    prikaz(mnuZobrazVyber, [this] { mnuZobrazVyber_Click(); });
    prikaz(mnuZobrazNahled, [this] { mnuZobrazNahled_Click(); });

    mnuSys = submenu(this, "mnuSys", QStringLiteral("295,S&ystém"));
    bar->addMenu(mnuSys);
    mnuMajitel = item(mnuSys, "mnuMajitel", QStringLiteral("130,Majitel"));
    mnuNastav = submenu(mnuSys, "mnuNastav", QStringLiteral("154,Nastavení"));
    mnuSys->addMenu(mnuNastav);
    mnuNastKatalog = item(mnuNastav, "mnuNastKatalog", QStringLiteral("106,Katalog"));
    mnuNastSekce = item(mnuNastav, "mnuNastSekce", QStringLiteral("300,Sekce"));
    mnuNastAplikace = item(mnuNastav, "mnuNastAplikace", QStringLiteral("320,Systém"));
    prikaz(mnuMajitel, [] { frmMajitel::Form().Zobraz(); });
    prikaz(mnuNastAplikace, [] { frmNastav::Form().Zobraz(); });
    prikaz(mnuNastSekce, [this] { mnuNastSekce_Click(); });
    prikaz(mnuNastKatalog, [this] { mnuNastKatalog_Click(); });
    mnuArch = submenu(mnuSys, "mnuArch", QStringLiteral("35,Archivace"));
    mnuSys->addMenu(mnuArch);
    mnuZaloha = item(mnuArch, "mnuZaloha", QStringLiteral("392,Záloha na pevný disk"));
    mnuObnova = item(mnuArch, "mnuObnova", QStringLiteral("191,Obnova z pevného disku"));
    prikaz(mnuZaloha, &ZalohaNaDisk);
    prikaz(mnuObnova, &ObnovaZDisku);

    mnuAplikace = submenu(this, "mnuAplikace", QStringLiteral("184,O ap&likaci"));
    bar->addMenu(mnuAplikace);
    mnuApl = item(mnuAplikace, "mnuApl", QStringLiteral("34,Aplikace"));
    prikaz(mnuApl, [] { frmLogo::LoadForm(); });

    // Never in the menu bar: the preview window pops it up.
    PopupNahledy = submenu(this, "PopupNahledy", QStringLiteral("148,Náhledy"));
    PopupNahled = item(PopupNahledy, "PopupNahled", QStringLiteral("403,Změnit náhled/dokument"));
    PopupNahledAdd = item(PopupNahledy, "PopupNahledAdd", QStringLiteral("274,Přidat náhled/dokument"));
    PopupPopis = item(PopupNahledy, "PopupPopis", QStringLiteral("404,Změnit popis - aktualizace"));
    PopupNahledTisk = item(PopupNahledy, "PopupNahledTisk", QStringLiteral("334,Tisk detailu"));
    RegistrujNahledy(PopupNahledy, [this](int index) { return iml.ListImages(index); });
    prikaz(mnuNahled, [] { recordCommand(4); });
    prikaz(mnuNahledAdd, [] { recordCommand(5); });
    prikaz(PopupNahled, [] { recordCommand(4); });
    prikaz(PopupNahledAdd, [] { recordCommand(5); });
    prikaz(PopupPopis, [] { recordCommand(0); });
    prikaz(PopupNahledTisk, [] { recordCommand(7); });
}

void frmMain::createStatusBar()
{
    sta = statusBar();
    sta->setObjectName(QStringLiteral("sta"));
    sta->setSizeGripEnabled(false);
    const auto onClick = [this](const QString &key) { sta_PanelClick(key); };
    const char *keys[] = {"", "lang", "", "", "", "", ""};
    for (int i = 0; i < 7; ++i) {
        auto *panel = new StatusPanel(QLatin1String(keys[i]), sta, onClick);
        panel->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        if (i == 0) {
            panel->setFrameStyle(QFrame::NoFrame);
            sta->addWidget(panel, 1);
        } else {
            panel->setAlignment(Qt::AlignCenter);
            sta->addPermanentWidget(panel);
        }
        m_panels.push_back(panel);
    }
    m_clock = new QTimer(this);
    connect(m_clock, &QTimer::timeout, this, &frmMain::refreshStatus);
    m_clock->start(1000);
    refreshStatus();
}

QLabel *frmMain::Panel(int index) const
{
    return index >= 1 && index <= int(m_panels.size()) ? m_panels[size_t(index - 1)] : nullptr;
}

void frmMain::refreshStatus()
{
    // The lock keys' states are shown where the platform tells them; where it does not,
    // the panel stays greyed rather than claim a state it cannot know.
    const std::pair<sys::Key, const char *> locks[] = {
        {sys::Key::CapsLock, "CAPS"}, {sys::Key::NumLock, "NUM"}, {sys::Key::Insert, "INS"}};
    for (int i = 0; i < 3; ++i) {
        QLabel *panel = Panel(3 + i);
        panel->setText(QLatin1String(locks[i].second));
        panel->setEnabled(sys::keyToggled(locks[i].first).value_or(false));
    }
    const QDateTime now = QDateTime::currentDateTime();
    Panel(6)->setText(now.toString(QStringLiteral("d.M.yyyy")));
    Panel(7)->setText(now.toString(QStringLiteral("H:mm")));
}

void frmMain::MDIForm_Load()
{
    // There is no help file on this platform; F1 has nothing to open.
    const qint16 state = qint16(vbVal(NactiInfo(QStringLiteral("mdiWindowState"), QStringLiteral("0"))));
    QRect placement(twipsSetting("mdiWindowLeft", "0"), twipsSetting("mdiWindowTop", "0"),
                    twipsSetting("mdiWindowWidth", "12000"), twipsSetting("mdiWindowHeight", "9000"));
    // The stored place may be on a screen that is gone, or of no size at all.
    const QScreen *screen = QGuiApplication::screenAt(placement.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        placement = usablePlacement(placement, screen->availableGeometry());
    resize(placement.size());
    move(placement.topLeft());
    // A window closed minimised opens normal: a start that shows no window looks like none.
    if (state == 2)
        setWindowState(Qt::WindowMaximized);
    NactiSekce();
    Panel(2)->setPixmap(iml.ListImages(NactenyJazyk(Jazyk)));
}

void frmMain::MDIForm_QueryUnload()
{
    const int state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    UlozInfo(QStringLiteral("mdiWindowState"), QString::number(state));
    if (state == 0) {
        UlozInfo(QStringLiteral("mdiWindowTop"), QString::number(sys::toTwips(y())));
        UlozInfo(QStringLiteral("mdiWindowLeft"), QString::number(sys::toTwips(x())));
        UlozInfo(QStringLiteral("mdiWindowWidth"), QString::number(sys::toTwips(width())));
        UlozInfo(QStringLiteral("mdiWindowHeight"), QString::number(sys::toTwips(height())));
    }
    UlozInfo(QStringLiteral("VyberWindowShow"), Variant(VyberOtevren()).toString());
    UlozInfo(QStringLiteral("NahledWindowShow"), Variant(NahledOtevren()).toString());
    std::optional<qint32> section;
    ignoreErrors([&] { section = AktualniSekce(); });
    UlozInfo(QStringLiteral("Sekce"), QString::number(section.value_or(0)));
}

void frmMain::Form_Unload()
{
    MDIForm_QueryUnload();
    UnloadViews();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program: the views closing with it know so.
    KonecProgramu = true;
    SingleForm::closeEvent(event);
}

void frmMain::sta_PanelClick(const QString &key)
{
    // The flag opens the language window; the other panels do nothing.
    if (key == QLatin1String("lang"))
        frmLang::Form();
}

void frmMain::mnuEnd_Click()
{
    // The menu that delivered the command belongs to this window and is still inside its
    // own handler: the window may go only once that handler is done.
    QMetaObject::invokeMethod(this, &frmMain::endProgram, Qt::QueuedConnection);
}

void frmMain::endProgram()
{
    // Closing runs the window's closing steps as the close button does; the program then
    // ends whatever other windows are still open, and closes the catalog on its way out.
    close();
    QCoreApplication::quit();
}
