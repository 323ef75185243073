#pragma once

#include "common/mdiform.h"

#include <QSize>

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QTabBar;
class QTimer;

// The preview: the attachments of the overview's current record, one tab each, and its
// note on the last tab. A picture is shown fitted to the window, a document as its icon;
// a click opens either. An MDI child of the main window.
class frmNahled : public MdiForm<frmNahled>
{
    Q_OBJECT
    friend MdiForm<frmNahled>;

public:
    // Shows the window inside the main window's MDI area, where it was placed last.
    void Zobraz();
    // Rebuilds the tabs for the overview's current record and shows the first.
    void NactiZalozky();
    // Shows the selected tab again: the attachment's picture or icon, or the note.
    void tmr_Timer();
    // Shows nothing of any record: no tabs, no note, no picture.
    void Vyprazdni();
    // The attachment number (Poradi) of the selected tab; 0 for the note tab or none.
    qint32 VybranaPriloha() const;

    // How many times the tabs were rebuilt: the overview's debounce shows in it.
    int PocetNacteni = 0;

    QTabBar *tabS = nullptr;
    QFrame *fra = nullptr;
    QLabel *img = nullptr;
    QLabel *lblSoubor = nullptr;  // the name of a file that shows no picture
    QWidget *pic = nullptr;
    QCheckBox *chkZoom = nullptr;
    QCheckBox *chkProporce = nullptr;
    QFrame *fraTxt = nullptr;
    QPlainTextEdit *txt = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmNahled();
    void Form_Unload() override;
    // The work of NactiZalozky and tmr_Timer, which keep a database error to themselves.
    void nactiZalozky();
    void zobrazZalozku();
    void UpravObrazek();
    // Decodes the picture at the size it is shown now, once the window has settled.
    void redecode();
    void img_Click();
    void clearPicture();
    // The overview's current record key; 0 when there is none.
    static qint32 AktualniKlic();

    QTimer *m_redecode = nullptr;
    int m_tabHeight = 0;
    QString m_path;       // the shown picture's file; empty for an icon or nothing
    QSize m_natural;      // its natural size, twips
    QPixmap m_icon;       // the icon shown in place of a document
    QRect m_full;            // where the whole picture lies in the frame, pixels
    QSize m_decodedFull;     // the size and part the shown picture was decoded at
    QRect m_decodedVisible;
};

// The preview window is open.
inline bool NahledOtevren()
{
    return frmNahled::Loaded();
}
