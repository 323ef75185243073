#pragma once

#include "common/errorreport.h"
#include "common/singleform.h"
#include "mainwindow/imagelist.h"

#include <QAction>
#include <QMainWindow>
#include <QRect>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QStatusBar;
class QTimer;

// Where a window stored at `stored` opens on a screen whose free area is `available`: at
// least a usable size (but no larger than the area), moved as little as it takes to lie
// wholly inside the area.
QRect usablePlacement(const QRect &stored, const QRect &available);

// The program's MDI frame: the menus through which every catalog command is reached, the
// strip that shows the current section, and the status bar. The catalog views open
// inside it; it lives until the program ends.
class frmMain : public SingleForm<frmMain, QMainWindow>
{
    Q_OBJECT
public:
    // The one main window, loaded on first use as the other windows reach it.
    static frmMain &Form();
    ~frmMain() override;

    // Rebuilds both section submenus from the sections of the catalog.
    void NactiSekce();
    // Enables the commands that need a current section.
    void NastavMenu();
    // Makes the section of item Index of the section menu current and reloads the views.
    void mnuSekceX_Click(int Index);
    // "Konec": the main window closes and the program ends.
    void mnuEnd_Click();
    // Deletes the records that the overview's selection shows, after asking.
    void mnuDeleteAll_Click();
    // Moves the records that the overview's selection shows into the section of item
    // Index of the move menu, after asking.
    void mnuSekceM_Click(int Index);

    // The view commands: an open view comes to the front; otherwise, with a section
    // current, it opens and fills.
    void mnuZobrazPrehled_Click();
    void mnuZobrazVyber_Click();
    void mnuZobrazNahled_Click();
    // Catalog set-up: the field definitions window, when there is a section to define.
    void mnuNastKatalog_Click();
    // After the field definitions of these sections were written: the views close (the
    // overview stores its layout), every stored overview layout of each section takes its
    // alignments from the definitions again, and the views open anew on the current
    // section, the overview with the focus.
    void PoUlozeniDefinic(const QList<qint32> &sekce);

    // The sections window; afterwards the section menus are built anew and the commands
    // follow the current section.
    void mnuNastSekce_Click();
    // The catalog set-up while the catalog has no section: says so and opens the sections
    // window instead of the field definitions, then rebuilds the section menus. False when
    // a section exists, for the field definitions to open.
    bool mnuNastKatalog_BezSekci();

    // Status bar panel by its one-based number.
    QLabel *Panel(int index) const;

    QWidget *pic = nullptr;
    // Caption: the current section's name in capitals; property "Tag": its number as text.
    QLabel *lblSekce = nullptr;
    QMdiArea *mdiArea = nullptr;
    QStatusBar *sta = nullptr;
    ImageList iml;

    QMenu *mnuKatalog = nullptr, *mnuSekce = nullptr, *mnuMoveAll = nullptr, *mnuZobraz = nullptr,
          *mnuSys = nullptr, *mnuNastav = nullptr, *mnuArch = nullptr, *mnuAplikace = nullptr,
          *PopupNahledy = nullptr;
    std::vector<QAction *> mnuSekceX, mnuSekceM;
    QAction *mnuNew = nullptr, *mnuCopy = nullptr, *mnuUpdate = nullptr, *mnuDelete = nullptr,
            *mnuDeleteAll = nullptr, *mnuNahled = nullptr, *mnuNahledAdd = nullptr, *mnuExport = nullptr,
            *mnuImport = nullptr, *mnuEnd = nullptr, *mnuZobrazPrehled = nullptr, *mnuZobrazVyber = nullptr,
            *mnuZobrazNahled = nullptr, *mnuMajitel = nullptr, *mnuNastKatalog = nullptr, *mnuNastSekce = nullptr,
            *mnuNastAplikace = nullptr, *mnuZaloha = nullptr, *mnuObnova = nullptr, *mnuApl = nullptr,
            *PopupNahled = nullptr, *PopupNahledAdd = nullptr, *PopupPopis = nullptr, *PopupNahledTisk = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Connects a command of the menus: what fails in it for want of the catalog (locked by
    // another workstation, say) is told, and the program goes on.
    template <typename F>
    void prikaz(QAction *action, F step)
    {
        connect(action, &QAction::triggered, this, [step] { reportErrors(step); });
    }
    frmMain();
    void createMenus();
    void createStatusBar();
    void MDIForm_Load();
    void MDIForm_QueryUnload();
    // Closing: the placement and the open views saved, the views unloaded.
    void Form_Unload() override;
    void sta_PanelClick(const QString &key);
    void endProgram();
    void refreshStatus();
    // One section submenu: its items rebuilt from the table; false when it has none.
    bool fillSectionMenu(QMenu *menu, std::vector<QAction *> &items, const QString &name);

    std::vector<QLabel *> m_panels;
    QTimer *m_clock = nullptr;
};
