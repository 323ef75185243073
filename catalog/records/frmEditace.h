#pragma once

#include "common/modalform.h"
#include "data/overviewquery.h"
#include "data/recordsave.h"
#include "records/polebox.h"
#include "variant.h"

#include <optional>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The record edit window: one caption and one field box per column of the overview, in
// two columns, the note, and the buttons. Modal; a new record, an edit, or a copy.
class frmEditace : public ModalForm<frmEditace>
{
    Q_OBJECT
    friend ModalForm<frmEditace>;

public:
    ~frmEditace() override;

    // Opens the window on record pInter (0: a new record), as a copy when pKopie, and
    // returns when it has closed.
    void Zobraz(qint32 pInter, bool pKopie);
    // Writes the boxes into the catalog and the overview; false (after saying why) when
    // the database refused. Quiet: no saved notice.
    bool UlozZaznam(bool quiet);
    // The box width for an overview column width, in twips: the next step of 500 up to
    // 3000, 3500 above.
    static int ZaokrouhliSirku(int twips);
    // The changed mark: a box or the note holds a value other than the one it was given
    // at loading or stored by the last save.
    bool Zmeneno() const;

    // Field rows 2 .. PocetSloupcu stand for overview columns 1 .. n; 0 and 1 stay empty
    // (the old template and the key column's placeholder), so that the numbers match.
    std::vector<QLabel *> lbl;
    std::vector<PoleBox *> cmb;
    QLabel *lblPopis = nullptr;
    QPlainTextEdit *txtPopis = nullptr;
    QWidget *fra = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdEnd = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmEditace();
    // Unsaved edits: the question whether to save them first.
    void Form_QueryUnload(bool &Cancel) override;
    void Form_Load();
    void clearRows();
    void cmb_LostFocus(PoleBox *box);
    void cmb_DropDown(PoleBox *box);
    // The overview after a save: a row for a created record, the record's own row
    // rewritten for an edited one, with the texts a fresh load would show; the overview
    // writes them, when it shows the columns the window was built for.
    void PridejRadek();
    void PrepisRadek();
    bool PrehledMaSloupce() const;
    QStringList cellTexts() const;
    // Box i as the save writes it.
    PoleZaznamu pole(size_t i) const;

    qint32 m_klic = 0;
    bool m_kopie = false;
    // What each box (by its row) was given: the text it showed and the stored value
    // behind it (none for a new record's empty box); and the note.
    struct DanaHodnota {
        QString Text;
        std::optional<Variant> Hodnota;
    };
    std::vector<DanaHodnota> m_dane;
    QString m_danaPoznamka;
    // The columns the window was built for, with the select list that reads them.
    std::vector<SloupecPrehledu> m_sloupce;
    QString m_seznamPoli;
};
