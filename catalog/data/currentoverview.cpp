#include "data/currentoverview.h"

#include "vberror.h"

#include <utility>

AktualniPrehled &Prehled()
{
    static AktualniPrehled prehled;
    return prehled;
}

std::optional<qint32> AktualniPrehled::Sekce() const
{
    const QString tag = m_tag.trimmed();
    if (tag.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint32 number = tag.toInt(&ok);
    if (!ok)
        throw VbError(13, QStringLiteral("Oskal"), QStringLiteral("Type mismatch: section \"") + tag + QLatin1Char('"'));
    if (number == 0)
        return std::nullopt;
    return number;
}

void AktualniPrehled::NastavSekci(std::optional<qint32> sekce, const QString &nazev)
{
    NastavTagSekce(sekce ? QString::number(*sekce) : QStringLiteral("0"), nazev);
}

void AktualniPrehled::NastavTagSekce(const QString &tag, const QString &nazev)
{
    m_tag = tag;
    m_nazev = nazev;
    Q_EMIT sekceZmenena();
}

void AktualniPrehled::NastavDotaz(DotazPrehledu dotaz)
{
    m_dotaz = std::move(dotaz);
}

void AktualniPrehled::ZmenSloupec(size_t i, const QString &titulek, const QString &zarovnani)
{
    if (i == 0 || i >= m_dotaz.Sloupce.size())
        return;
    m_dotaz.Sloupce[i].Titulek = titulek;
    m_dotaz.Sloupce[i].Zarovnani = zarovnani;
}

AktualniPrehled::Vyber AktualniPrehled::ZobrazVyber(const QString &podminka, const QString &text, bool iNic)
{
    if (!m_pohled)
        return Vyber::Odmitnuto;
    const Vyber vysledek = m_pohled->NactiVyber(podminka, iNic);
    // The view lets events run while it loads: it may have gone meanwhile, and its
    // condition with it.
    if (vysledek == Vyber::Nacteno)
        NastavPodminku(podminka, text);
    return vysledek;
}

void AktualniPrehled::NastavPodminku(const QString &podminka, const QString &text)
{
    if (!m_pohled)
        return;
    m_podminka = podminka;
    m_textPodminky = text;
    Q_EMIT podminkaZmenena();
}

void AktualniPrehled::OznamZmenu(Zmena zmena, qint32 klic, const QStringList &texty)
{
    Q_EMIT zaznamZmenen(zmena, klic, texty);
}

void AktualniPrehled::Pripoj(PohledPrehledu *pohled)
{
    // A view opens with no condition in force, and takes none with it when it goes.
    m_pohled = pohled;
    m_podminka.clear();
    m_textPodminky.clear();
}

void AktualniPrehled::Odpoj(PohledPrehledu *pohled)
{
    if (m_pohled != pohled)
        return;
    m_pohled = nullptr;
    m_podminka.clear();
    m_textPodminky.clear();
}

qint32 AktualniPrehled::AktualniKlic() const
{
    return m_pohled ? m_pohled->AktualniKlic() : 0;
}

std::vector<int> AktualniPrehled::SirkySloupcu() const
{
    return m_pohled ? m_pohled->SirkySloupcu() : std::vector<int>();
}

void AktualniPrehled::ZamerPohled() const
{
    if (m_pohled)
        m_pohled->SetFocus();
}

void AktualniPrehled::Vynuluj()
{
    m_tag.clear();
    m_nazev.clear();
    m_dotaz = DotazPrehledu();
    m_podminka.clear();
    m_textPodminky.clear();
    Q_EMIT sekceZmenena();
    Q_EMIT podminkaZmenena();
}
