#include "gencatalog.h"

#include "common/globals.h"
#include "data/sqlliteral.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <stdexcept>

namespace {

const QString kSource = QStringLiteral("GenCatalog");

// Texts are kept as UTF-8 literals and turned into QString where used.
QString u(const char *s)
{
    return QString::fromUtf8(s);
}

const char *const kSectionNames[] = {
    "Knihy", "Hudba", "Filmy", "Sbírka známek", "Nářadí", "Časopisy", "Hračky", "Šperky", "Čaje a koření",
    "Elektronika", "Obrazy", "Řemeslné výrobky",
};

// Adjectives whose ending follows the noun's gender: stem + ý/á/é.
const char *const kHardAdjectives[] = {
    "Zlat", "Star", "Čern", "Bíl", "Tich", "Modr", "Dlouh", "Ztracen", "Krut", "Šťastn", "Zapomenut",
    "Červen", "Žlut", "Mlad", "Chudobn", "Vesel",
};
// Adjectives that end the same in every gender.
const char *const kSoftAdjectives[] = {"Poslední", "Zimní", "Letní", "Jarní", "Noční", "Ranní", "Cizí", "Boží",
                                       "Třetí", "Horní"};

struct Noun {
    const char *text;
    char gender;  // m, f, n
};
const Noun kNouns[] = {
    {"kůň", 'm'},     {"les", 'm'},      {"zámek", 'm'},     {"chrám", 'm'},   {"příběh", 'm'},
    {"čaj", 'm'},     {"déšť", 'm'},     {"mlýn", 'm'},      {"chléb", 'm'},   {"vrch", 'm'},
    {"rybník", 'm'},  {"stín", 'm'},     {"řeka", 'f'},      {"cesta", 'f'},   {"země", 'f'},
    {"píseň", 'f'},   {"noc", 'f'},      {"hvězda", 'f'},    {"kniha", 'f'},   {"chalupa", 'f'},
    {"ulice", 'f'},   {"šachovnice", 'f'}, {"chodba", 'f'},  {"růže", 'f'},    {"město", 'n'},
    {"jezero", 'n'},  {"údolí", 'n'},    {"světlo", 'n'},    {"moře", 'n'},    {"nádraží", 'n'},
    {"srdce", 'n'},   {"okno", 'n'},     {"zrcadlo", 'n'},   {"křeslo", 'n'},
};
const char *const kComplements[] = {
    "na řece", "v horách", "u Chrudimi", "za humny", "pod Řípem", "na Šumavě", "v Čechách", "ve tmě",
    "bez konce", "z Moravy", "u Ždáru", "nad Vltavou", "pro děti", "v zimě", "O'Brienových",
};
const char *const kWholeTitles[] = {
    "Chrám Matky Boží v Paříži", "Osudy dobrého vojáka Švejka", "Babička", "Máj", "Krakatit",
    "Saturnin", "Obsluhoval jsem anglického krále", "Kytice", "Spalovač mrtvol", "Limonádový Joe",
    "Pelíšky", "Ostře sledované vlaky", "Hoří, má panenko", "Chobotnice z II. patra", "Čtyřlístek",
    "Šakalí léta", "Řachanda", "Má vlast", "Rusalka", "Prodaná nevěsta", "Vánoční koledy",
    "Chvála bláznivosti", "Ďáblova past", "Život je jinde", "Žert", "Dášeňka čili život štěněte",
    "Hlava XXII", "Kočár do Vídně", "O'Brienova dcera", "Chata v jezerní kotlině", "Účastníci zájezdu",
};

struct Person {
    const char *first;
    char gender;
};
const Person kFirstNames[] = {
    {"Jiří", 'm'},   {"Václav", 'm'},  {"Karel", 'm'},    {"Bohumil", 'm'}, {"Čeněk", 'm'},  {"Ondřej", 'm'},
    {"Tomáš", 'm'},  {"Šimon", 'm'},   {"Lubomír", 'm'},  {"Radek", 'm'},   {"Přemysl", 'm'}, {"Jaroslav", 'm'},
    {"Božena", 'f'}, {"Jiřina", 'f'},  {"Věra", 'f'},     {"Eliška", 'f'},  {"Šárka", 'f'},  {"Žofie", 'f'},
    {"Květa", 'f'},  {"Růžena", 'f'},  {"Markéta", 'f'},  {"Dagmar", 'f'},  {"Hana", 'f'},   {"Ludmila", 'f'},
};
struct Surname {
    const char *male;
    const char *female;
};
const Surname kSurnames[] = {
    {"Čapek", "Čapková"},     {"Hašek", "Hašková"},         {"Novák", "Nováková"},     {"Dvořák", "Dvořáková"},
    {"Hrabal", "Hrabalová"},  {"Šťastný", "Šťastná"},       {"Chalupa", "Chalupová"},  {"Chmelař", "Chmelařová"},
    {"Růžička", "Růžičková"}, {"Kříž", "Křížová"},          {"Žák", "Žáková"},         {"Ševčík", "Ševčíková"},
    {"Černý", "Černá"},       {"Procházka", "Procházková"}, {"Urban", "Urbanová"},     {"Ondráček", "Ondráčková"},
    {"Holub", "Holubová"},    {"Chytil", "Chytilová"},      {"Řezníček", "Řezníčková"}, {"Vaněk", "Vaňková"},
    {"Bártl", "Bártlová"},    {"Úlehla", "Úlehlová"},
};
const char *const kForeignAuthors[] = {
    "Flann O'Brien", "Seán O'Casey", "Sinéad O'Connor", "Eugene O'Neill", "Patrick O'Brian",
    "Jean le Rond d'Alembert", "Gabriele D'Annunzio", "Antoine de Saint-Exupéry", "Edgar Allan Poe",
    "Agatha Christie", "Ennio Morricone",
};
const char *const kLowerAuthors[] = {"kolektiv autorů", "neznámý autor", "anonym", "lidová"};

const char *const kPublishers[] = {
    "Albatros", "Odeon", "Mladá fronta", "Československý spisovatel", "Academia", "Argo", "Host", "Paseka",
    "Supraphon", "Panton", "Bontonfilm", "Krátký film Praha", "Pošta Praha", "Chvojka a syn",
    "Nakladatelství Čeněk", "Vyšehrad", "Triáda", "O'Reilly Media", "Řezbářství Chlumec", "Železářství Kříž",
    "Český rozhlas", "Státní nakladatelství dětské knihy", "Hudební matice", "Artia", "Šafrán s.r.o.",
    "Chemapol", "Úsvit", "Ústřední lidové nakladatelství", "nakladatel neuveden", "vlastní náklad",
    "d'Ocon Records",
};

const char *const kConditions[] = {
    "Výborný stav", "Zachovalé", "Poškozený obal", "Chybí přebal", "Nové, nerozbalené", "Ohnuté rohy",
    "Lehce opotřebované", "Rezavé, ale funkční", "Čeká na opravu", "Chce vyčistit", "Žluté skvrny",
    "úplné", "neúplné", "Chybí jeden díl", "Špatný stav", "Jako nové",
};
const char *const kDetails[] = {
    "podpis autora", "první vydání", "dárek od babičky", "koupeno v antikvariátu", "s věnováním",
    "původní krabice", "číslovaný výtisk", "z pozůstalosti", "dovoz z Itálie", "sběratelský kus",
    "sleva 30 %", "výměna za známky", "od p. O'Briena", "na chalupě",
};
const char *const kSentences[] = {
    "Půjčeno sousedovi, vrátit do konce měsíce.",
    "Koupeno na burze v Chrudimi za výhodnou cenu.",
    "Předchozí majitel uvádí, že jde o první vydání; ověřit v katalogu.",
    "Ohnutý roh na straně 112, jinak bez vady.",
    "Šňůra je třeba vyměnit, zásuvka drží špatně.",
    "Součástí je i originální účtenka a záruční list.",
    "Žádá se opatrné zacházení - křehké.",
    "Ch. tvrdí, že existuje i verze s jiným obalem.",
    "Mr. O'Brien nabízel výměnu za dva kusy z řady 1968.",
    "Uloženo v krabici č. 4 na půdě.",
    "Chybí návod; stáhnout z internetu.",
    "Čtvrtý díl série, ostatní díly hledám.",
    "Řádně zabaleno v archivačním papíře.",
    "Zakoupeno na dobírku, poštovné 89 Kč.",
};

// The definitions' field names; fields 11..30 are unused ("Pole 11" ..) but for the
// extra fields of the options.
const char *const kFieldNames[] = {"Název", "Autor", "Vydavatel", "Popis", "Rok", "Cena", "Počet kusů",
                                   "Datum nákupu", "Datum vydání", "Revize"};

QString sectionName(int index)  // index from 0
{
    const int n = int(std::size(kSectionNames));
    QString name = u(kSectionNames[index % n]);
    if (index >= n)
        name += QLatin1Char(' ') + QString::number(index / n + 1);
    return name;
}

void checkOptions(const GenOptions &o)
{
    if (o.records < 0)
        throw std::invalid_argument("GenCatalog: the number of records must not be negative");
    if (o.sections < 1 || o.sections > 255)
        throw std::invalid_argument("GenCatalog: the number of sections must be 1..255");
    if (o.extraFields.size() > 20)
        throw std::invalid_argument("GenCatalog: at most 20 extra fields");
    for (const int distinct : o.extraFields)
        if (distinct < 0)
            throw std::invalid_argument("GenCatalog: an extra field's number of values must not be negative");
}

}  // namespace

// ================================================================ RecordGenerator

RecordGenerator::RecordGenerator(const GenOptions &o)
    : m_rng(o.seed), m_sections(o.sections), m_count(o.records), m_extraFields(o.extraFields)
{
    checkOptions(o);
}

quint32 RecordGenerator::below(quint32 n)
{
    // std::uniform_int_distribution differs between standard libraries; this does not.
    return quint32((quint64(m_rng()) * n) >> 32);
}

QString RecordGenerator::title()
{
    QString t;
    const quint32 kind = below(100);
    if (kind < 20) {
        t = u(pick(kWholeTitles));
    } else {
        const Noun &noun = pick(kNouns);
        if (kind < 40) {
            // The noun first: "Chalupa na Šumavě", "Chrám bez konce".
            t = u(noun.text);
            t[0] = t[0].toUpper();
            t += QLatin1Char(' ') + u(pick(kComplements));
        } else {
            if (chance(40)) {
                t = u(pick(kSoftAdjectives));
            } else {
                t = u(pick(kHardAdjectives));
                t += noun.gender == 'm' ? QChar(u'ý') : noun.gender == 'f' ? QChar(u'á') : QChar(u'é');
            }
            t += QLatin1Char(' ') + u(noun.text);
            if (chance(25))
                t += QLatin1Char(' ') + u(pick(kComplements));
        }
    }
    if (chance(8))
        t[0] = t[0].toLower();  // typed carelessly
    if (chance(5))
        t += QStringLiteral(" (%1. díl)").arg(1 + below(12));
    return t.left(50);
}

QString RecordGenerator::author()
{
    const quint32 kind = below(100);
    if (kind < 8)
        return u(pick(kForeignAuthors));
    if (kind < 12)
        return u(pick(kLowerAuthors));
    const Person &p = pick(kFirstNames);
    const Surname &s = pick(kSurnames);
    const QString surname = u(p.gender == 'm' ? s.male : s.female);
    // Some typed as a library would, surname first.
    if (kind < 30)
        return surname + QStringLiteral(", ") + u(p.first);
    return u(p.first) + QLatin1Char(' ') + surname;
}

QString RecordGenerator::publisher()
{
    return u(pick(kPublishers));
}

QString RecordGenerator::description()
{
    QString d = u(pick(kConditions));
    if (chance(50))
        d += QStringLiteral(", ") + u(pick(kDetails));
    return d.left(50);
}

QString RecordGenerator::note()
{
    QString n;
    const int sentences = 1 + int(below(6));
    for (int i = 0; i < sentences; ++i) {
        if (i)
            n += chance(20) ? QStringLiteral("\r\n") : QStringLiteral(" ");
        n += u(pick(kSentences));
    }
    return n;
}

QString RecordGenerator::extraValue(int inter, int distinct) const
{
    // Taken from the key, not the random stream, so that the other values stay the same;
    // every value occurs once the records outnumber them. The surname in front makes the
    // order a matter of the regional comparison, not of the number alone.
    const int index = distinct > 0 ? (inter - 1) % distinct : inter - 1;
    return u(kSurnames[index % int(std::size(kSurnames))].male) + QLatin1Char(' ') + QString::number(index);
}

QString RecordGenerator::next()
{
    const int inter = m_next++;
    // Straight to the date number: a QDateTime in local time would ask the time zone
    // (a file lookup) for every value, and all these dates lie after 1899.
    const auto date = [this](QDate from, int spanDays, int timePercent) {
        static const QDate epoch(1899, 12, 30);
        const qint64 day = epoch.daysTo(from) + below(quint32(spanDays));
        const int seconds = chance(timePercent) ? int(below(86400)) : 0;
        return Variant::fromDate(double(day) + seconds / 86400.0);
    };

    // Numbers: a year, a price with two decimals (often a round one), a count.
    const int yearValue = 1900 + int(below(127));
    const Variant year = chance(4) ? Variant::Null() : Variant(float(yearValue));
    Variant price = Variant::Null();
    if (!chance(6)) {
        const int crowns = int(below(5000));
        static const int endings[] = {0, 0, 50, 90, 99};
        const int hundredths = chance(60) ? endings[below(5)] : int(below(100));
        price = Variant(float((crowns * 100 + hundredths) / 100.0));
    }
    const int countValue = chance(5) ? 0 : chance(90) ? 1 + int(below(12)) : 13 + int(below(488));
    const Variant count{float(countValue)};

    // Dates: purchase, issue (in the year, when there is one) and revision; some empty.
    const QDate boughtFrom(std::max(yearValue, 1985), 1, 1);
    const int boughtSpan = int(boughtFrom.daysTo(QDate(2026, 1, 1))) + 1;
    const Variant bought = chance(10) ? Variant::Null() : date(boughtFrom, boughtSpan, 25);
    const Variant issued = chance(20) || year.IsNull() ? Variant::Null() : date(QDate(yearValue, 1, 1), 365, 0);
    const Variant revised = chance(50) ? Variant::Null() : date(QDate(2015, 1, 1), 4200, 40);
    const Variant updated = date(QDate(2020, 1, 1), 2370, 100);
    const Variant note = chance(30) ? Variant(this->note()) : Variant::Null();
    const Variant section = Variant(quint8(1 + below(quint32(m_sections))));

    QString sql;
    sql.reserve(600);
    sql += QStringLiteral("INSERT INTO Katalog (Inter, Pol1c, Pol2c, Pol3c, Pol4c, Pol5n, Pol6n, Pol7n, "
                          "Pol8d, Pol9d, Pol10d, Poznamka, Aktualizace, Sekce");
    for (size_t i = 0; i < m_extraFields.size(); ++i)
        sql += QStringLiteral(", Pol%1c").arg(11 + i);
    sql += QStringLiteral(") VALUES (");
    sql += CSQL(inter);
    const Variant values[] = {title(), author(), publisher(), description(), year, price, count,
                              bought,  issued,   revised,     note,          updated, section};
    for (const Variant &v : values) {
        sql += QStringLiteral(", ");
        sql += CSQL(v);
    }
    for (const int distinct : m_extraFields)
        sql += QStringLiteral(", ") + CSQL(extraValue(inter, distinct));
    sql += QLatin1Char(')');
    return sql;
}

// ================================================================ the catalog

void GenerateSections(dao::Database &db, const GenOptions &o)
{
    checkOptions(o);
    for (int s = 1; s <= o.sections; ++s) {
        const Variant sekce{quint8(s)};
        db.Execute(QStringLiteral("INSERT INTO Sekce (Sekce, Nazev) VALUES (%1, %2)")
                       .arg(CSQL(sekce), CSQL(sectionName(s - 1))));
        for (int k = 1; k <= 30; ++k) {
            const bool shown = k <= 10 + int(o.extraFields.size());
            const QString name = shown ? u(kFieldNames[k - 1]) : QStringLiteral("Pole %1").arg(k);
            const char *type = k >= 5 && k <= 7 ? "N" : k >= 8 && k <= 10 ? "D" : "C";
            const char *align = type[0] == 'N' ? "R" : type[0] == 'D' ? "C" : "L";
            const QString values =
                QStringList{CSQL(quint8(k)), CSQL(QStringLiteral("Pol%1").arg(k)), CSQL(shown), CSQL(shown),
                            CSQL(shown), CSQL(k == 4), CSQL(name), CSQL(align), CSQL(type), CSQL(sekce)}
                    .join(QStringLiteral(", "));
            for (const char *table : {"Definice", "VychoziDefinice"})
                db.Execute(QStringLiteral("INSERT INTO %1 (Poradi, Pol, Zobraz, Vyber, Detail, Popis, Nazev, "
                                          "Zarovnani, Typ, Sekce) VALUES (%2)")
                               .arg(QLatin1String(table), values));
        }
    }
}

void GenerateRecords(dao::Database &db, const GenOptions &o)
{
    RecordGenerator generator(o);
    while (!generator.atEnd())
        db.Execute(generator.next());
    // The counter from which the program numbers the next new record.
    db.Execute(QStringLiteral("UPDATE S_Param SET Inter = %1").arg(CSQL(o.records)));
}

void GeneratePictures(dao::Database &db, const QString &folder, int count, int records, quint32 seed)
{
    if (count <= 0 || records <= 0)
        return;
    QDir().mkpath(folder);
    std::mt19937 rng(seed);
    const auto below = [&rng](int n) { return int(rng() % quint32(n)); };
    for (int i = 1; i <= count; ++i) {
        // A landscape of sky, hills and a sun in colours of its own.
        QImage image(480, 360, QImage::Format_RGB32);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient sky(0, 0, 0, 360);
        sky.setColorAt(0, QColor::fromHsv(190 + below(40), 120, 240));
        sky.setColorAt(1, QColor::fromHsv(30 + below(30), 60, 255));
        p.fillRect(image.rect(), sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv(45, 200, 255));
        p.drawEllipse(QPointF(60 + below(360), 60 + below(60)), 30, 30);
        for (int hill = 0; hill < 3; ++hill) {
            p.setBrush(QColor::fromHsv(90 + below(50), 150 + below(80), 120 + hill * 40));
            p.drawEllipse(QPointF(below(480), 330 + hill * 20), 200 + below(120), 90 + below(40));
        }
        p.end();
        const QString name = QStringLiteral("obrazek%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        if (!image.save(folder + QLatin1Char('/') + name, "JPG", 85))
            throw VbError(75, kSource, QStringLiteral("Cannot write the picture '%1'").arg(name));
        const int inter = 1 + (i - 1) * std::max(1, records / count);
        db.Execute(QStringLiteral("INSERT INTO Obrazky (Inter, Poradi, Soubor, Popis, Aktualizace) VALUES (%1, 1, %2, %3, %4)")
                       .arg(CSQL(std::min(inter, records)), CSQL(name), CSQL(QStringLiteral("Obrázek %1").arg(i)),
                            CSQL(QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC))));
    }
}

void GenerateCatalog(dao::Workspace &ws, dao::Database &db, const GenOptions &o)
{
    checkOptions(o);
    dao::Transaction trans(ws);
    GenerateSections(db, o);
    GenerateRecords(db, o);
    trans.Commit();
}

void CreateCatalogFile(const QString &upgPath, const QString &target, const GenOptions &o)
{
    checkOptions(o);
    if (QFileInfo::exists(target))
        throw VbError(dao::err::DatabaseExists, kSource, QStringLiteral("Database already exists: '%1'").arg(target));
    if (!QFileInfo(upgPath).isFile())
        throw VbError(dao::err::FileNotFound, kSource, QStringLiteral("Could not find file '%1'.").arg(upgPath));
    if (!QFile::copy(upgPath, target))
        throw VbError(dao::err::CannotOpenFile, kSource, QStringLiteral("Cannot write '%1'.").arg(target));
    // The fresh catalog may be installed read-only; the copy must be writable.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    try {
        dao::Workspace ws;
        std::unique_ptr<dao::Database> db = ws.OpenDatabase(target);
        GenerateCatalog(ws, *db, o);
        db->Close();
    } catch (...) {
        QFile::remove(target);
        throw;
    }
}

void WritePhoto(const QString &path, int width, int height, int ellipses)
{
    QImage photo(width, height, QImage::Format_RGB32);
    {
        QPainter p(&photo);
        QLinearGradient g(0, 0, width, height);
        g.setColorAt(0, Qt::darkGreen);
        g.setColorAt(1, Qt::white);
        p.fillRect(photo.rect(), g);
        for (int i = 0; i < ellipses; ++i)
            p.drawEllipse(QPoint((i * 397) % width, (i * 211) % height), 60, 40);
    }
    quint32 seed = 12345;
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int d = int(seed >> 26) - 32;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                           std::clamp(qBlue(c) + d, 0, 255));
        }
    }
    photo.save(path, "JPG", 90);
}

void OpenProgramFolder(const QString &folder, const QString &upgPath, const GenOptions &o)
{
    const QDir dir(folder);
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    AppPath = dir.path() + QLatin1Char('/');
    const QString path = dir.filePath(QStringLiteral("QIRData.mdb"));
    CreateCatalogFile(upgPath, path, o);
    Ws = std::make_unique<dao::Workspace>();
    Db = Ws->OpenDatabase(path);
}
