#pragma once

#include "common/mdiform.h"
#include "data/overviewquery.h"

#include <QString>
#include <vector>

class PoleBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QWheelEvent;
struct RadekVyberu;

// The selection window: one row per field that the current section shows in the
// overview, a caption and a box in which the user types the field's condition (Part
// 4.111); "Vybrat" narrows the overview to the records meeting all rows, "Zrušit výběr"
// empties the rows and shows the whole section again. An MDI child beside the overview.
class frmVyber : public MdiForm<frmVyber>
{
    Q_OBJECT
    friend MdiForm<frmVyber>;

public:
    ~frmVyber() override;
    // Shows the window inside the main window's MDI area, where it was placed last.
    void Zobraz();
    // Builds the rows for the current section; none for no section.
    void NactiData();
    // Empties every row and shows the whole section, the overview's condition gone; with
    // the overview closed nothing happens. The main window calls it after a move or delete.
    void cmdZrusVyber_Click();

    // The condition last built from the rows; empty when no row contributed.
    const QString &Podminka() const { return m_podminka; }

    // Rows 1..n stand for the overview's columns 1..n; entry 0 stays empty (the old
    // hidden template), so that the numbers match.
    std::vector<QLabel *> lbl;
    std::vector<PoleBox *> cmb;
    QWidget *fraVyber = nullptr;  // holds the rows; scrolled by moving it up
    QScrollBar *vsb = nullptr;
    QWidget *pic = nullptr;       // the strip of the buttons along the bottom
    QPushButton *cmdVyber = nullptr;
    QPushButton *cmdZrusVyber = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    frmVyber();
    void Form_Unload() override;
    void cmdVyber_Click();
    // Checks the rows and builds the condition (leaving out the row m_vynechany); with
    // `run` also narrows the overview and hands it the condition and its readable text.
    // False when a check refused the rows (after saying so) or nothing was handed over.
    bool ProvedVyber(bool run);
    void RozmistiRadky();
    void rozvrzeni();
    void cmb_DropDown(int i);
    void cmb_GotFocus(int i);
    void vsb_Change(int value);
    // The wheel scrolls the rows, never a box's value.
    void kolecko(const QWheelEvent &event);
    void odstranRadky();
    void ukazRadek(int i);
    void zamerRadek(int i);
    std::vector<RadekVyberu> radky() const;

    // The columns the rows were built for: the overview query's descriptors of the section.
    std::vector<SloupecPrehledu> m_sloupce;
    QString m_podminka;
    int m_sirkaPopisku = 0;    // the widest caption so far, twips
    bool m_rozmisteno = false; // the rows are laid out
    int m_seznam = 0;          // the row whose list was loaded last; 0 none
    int m_vynechany = 0;       // the row left out of the condition; 0 none
    QWidget *m_oblast = nullptr;  // the part of the window the rows show in
};

// The selection window is open.
inline bool VyberOtevren()
{
    return frmVyber::Loaded();
}
