#pragma once

#include "data/overviewquery.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The current overview: the state that the overview window shows and every other window
// reads or changes through it, never through the overview's grid. It holds the current
// section, the query in force with its column descriptors, and the selection condition
// in force with its readable text; and it tells its listeners when the section, the
// condition or a record changes. The overview window registers itself as its view while
// it is open; the rows themselves are the view's.

class PohledPrehledu;

class AktualniPrehled : public QObject
{
    Q_OBJECT
public:
    // How a selection came out: loaded into the rows; a condition that selects nothing;
    // a condition the database refused (or no current section, or no view); a catalog
    // that another workstation holds locked. The rows stay as they were unless loaded.
    enum class Vyber { Nacteno, Nic, Odmitnuto, Zamceno };
    // What happened to a record: saved (its row rewritten), added (a row for it), deleted
    // or moved into another section (key 0: the selected records).
    enum class Zmena { Ulozen, Pridan, Smazan, Presunut };

    // The current section's number; none when no section is current ("0" or nothing).
    // A number kept as text that is no whole number raises error 13: it must never reach
    // a statement.
    std::optional<qint32> Sekce() const;
    // The section's number as text ("0" for none) and its name as the main window shows it.
    const QString &TagSekce() const { return m_tag; }
    const QString &NazevSekce() const { return m_nazev; }
    // Makes a section current with its name (shown as it stands); none clears.
    void NastavSekci(std::optional<qint32> sekce, const QString &nazev);
    // The same with the number as text, as a setting or a caller holds it; it is checked
    // when read.
    void NastavTagSekce(const QString &tag, const QString &nazev);

    // The query in force: what the overview loaded for the section last, its column
    // descriptors with it (the shown columns 1..n, entry 0 empty; the select list
    // "Inter, Pol1C, ..."; n + 1). Read by the selection, edit, detail and print windows.
    const DotazPrehledu &Dotaz() const { return m_dotaz; }
    const std::vector<SloupecPrehledu> &SloupcePrehledu() const { return m_dotaz.Sloupce; }
    const QString &SeznamPoli() const { return m_dotaz.SeznamPoli; }
    quint8 PocetSloupcu() const { return m_dotaz.PocetSloupcu; }
    void NastavDotaz(DotazPrehledu dotaz);
    // Column i (1..n) takes a caption and an alignment letter chosen in the column set-up.
    void ZmenSloupec(size_t i, const QString &titulek, const QString &zarovnani);

    // The selection condition in force (an SQL condition over Katalog, empty for none)
    // and its readable text; none while no view shows the overview.
    const QString &Podminka() const { return m_podminka; }
    const QString &TextPodminky() const { return m_textPodminky; }
    // The view shows the current section's records meeting `podminka`; once loaded, the
    // condition and its text are the ones in force. With `iNic` a condition that selects
    // nothing empties the rows (Nacteno) instead.
    Vyber ZobrazVyber(const QString &podminka, const QString &text, bool iNic = false);
    // The condition in force changes without a load (the rows already show it, or they
    // will not be narrowed any more).
    void NastavPodminku(const QString &podminka, const QString &text);
    void ZrusPodminku() { NastavPodminku(QString(), QString()); }

    // A record changed: its listeners learn of it. For a saved or added record `texty`
    // are its cells in the columns in force, as a fresh load would show them.
    void OznamZmenu(Zmena zmena, qint32 klic, const QStringList &texty = {});

    // The view: registered by the overview window while it is open.
    void Pripoj(PohledPrehledu *pohled);
    void Odpoj(PohledPrehledu *pohled);
    // A view shows the overview (the overview window is open).
    bool Zobrazen() const { return m_pohled != nullptr; }
    // What the view knows: the key of the record under its cursor (0 for none), the
    // widths of the shown columns 1..n in twips, as the user left them.
    qint32 AktualniKlic() const;
    std::vector<int> SirkySloupcu() const;
    // The view becomes the active window with the focus.
    void ZamerPohled() const;

    // Everything back to the state before any section was loaded: no section, no query,
    // no condition (the view stays registered).
    void Vynuluj();

Q_SIGNALS:
    void sekceZmenena();
    void podminkaZmenena();
    void zaznamZmenen(AktualniPrehled::Zmena zmena, qint32 klic, const QStringList &texty);

private:
    QString m_tag;
    QString m_nazev;
    DotazPrehledu m_dotaz;
    QString m_podminka;
    QString m_textPodminky;
    PohledPrehledu *m_pohled = nullptr;
};

// The one current overview of the program.
AktualniPrehled &Prehled();

// What shows the current overview and holds its rows: the overview window.
class PohledPrehledu
{
public:
    // The current section's records meeting `podminka` (all of them when it is empty)
    // into the rows; see AktualniPrehled::ZobrazVyber.
    virtual AktualniPrehled::Vyber NactiVyber(const QString &podminka, bool iNic) = 0;
    virtual qint32 AktualniKlic() const = 0;
    virtual std::vector<int> SirkySloupcu() const = 0;
    virtual void SetFocus() = 0;

protected:
    ~PohledPrehledu() = default;
};

// The current section, as every catalog query filters on it.
inline std::optional<qint32> AktualniSekce()
{
    return Prehled().Sekce();
}
inline void NastavAktualniSekci(std::optional<qint32> sekce, const QString &nazev)
{
    Prehled().NastavSekci(sekce, nazev);
}

// The overview is open.
inline bool PrehledOtevren()
{
    return Prehled().Zobrazen();
}
