#include "data/ownerdata.h"

#include "dao.h"
#include "data/sqlliteral.h"

#include <QStringList>
#include <exception>
#include <vector>

namespace {

// The columns of the boxes, in box order, and where the VAT flag goes among them.
constexpr std::array<const char *, 10> kColumns = {"ico", "dic", "nazev", "ulice", "mesto", "psc",
                                                   "telefon", "www", "email", "webaktualizace"};
constexpr size_t kDphBefore = 9;

// Column name and literal of each value, in the statements' order.
std::vector<std::pair<QString, QString>> values(const UdajeMajitele &udaje)
{
    std::vector<std::pair<QString, QString>> result;
    for (size_t i = 0; i < kColumns.size(); ++i) {
        if (i == kDphBefore)
            result.emplace_back(QStringLiteral("dph"), CSQL(Variant(udaje.Dph)));
        result.emplace_back(QLatin1String(kColumns[i]), CSQL(Variant(udaje.Texty[i])));
    }
    return result;
}

}  // namespace

QString UpdateMajitele(const UdajeMajitele &udaje)
{
    QStringList sets;
    for (const auto &[column, literal] : values(udaje))
        sets << column + QLatin1Char('=') + literal;
    return QStringLiteral("Update majitel set ") + sets.join(QStringLiteral(", "));
}

QString InsertMajitele(const UdajeMajitele &udaje)
{
    QStringList columns, literals;
    for (const auto &[column, literal] : values(udaje)) {
        columns << column;
        literals << literal;
    }
    return QStringLiteral("Insert into majitel (") + columns.join(QLatin1Char(',')) + QStringLiteral(") values (")
           + literals.join(QStringLiteral(", ")) + QLatin1Char(')');
}

UdajeMajitele NactiMajitele(dao::Database &db)
{
    auto rs = db.OpenRecordset(QStringLiteral("select * from majitel"));
    UdajeMajitele udaje;
    for (size_t i = 0; i < kColumns.size(); ++i) {
        try {
            udaje.Texty[i] = (*rs)[QLatin1String(kColumns[i])].toString().trimmed();
        } catch (const std::exception &) {
        }
    }
    try {
        udaje.Dph = (*rs)[QStringLiteral("dph")].toBool();
    } catch (const std::exception &) {
    }
    return udaje;
}

QString AdresaAktualizace(dao::Database &db)
{
    auto owner = db.OpenRecordset(QStringLiteral("select webaktualizace from majitel"));
    return owner->Eof() || (*owner)[0].IsNull() ? QString() : (*owner)[0].toString().trimmed();
}

void UlozMajitele(dao::Database &db, const UdajeMajitele &udaje)
{
    db.Execute(UpdateMajitele(udaje));
    if (db.RecordsAffected() == 0)
        db.Execute(InsertMajitele(udaje));
}
