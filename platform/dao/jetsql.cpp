#include "jetsql.h"

#include "vberror.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QVarLengthArray>
#include <array>
#include <cmath>
#include <vector>

namespace jet {

// ---------------------------------------------------------------- LIKE

namespace {

struct PatternItem {
    enum Kind { Literal, AnyRun, OneChar, Digit, Set } kind = Literal;
    char32_t ch = 0;                                // Literal, case-folded
    bool negate = false;                             // Set
    std::vector<std::pair<char32_t, char32_t>> ranges;  // Set, case-folded
};

char32_t fold(char32_t c)
{
    return QChar::toCaseFolded(c);
}

std::vector<char32_t> codePoints(QStringView s)
{
    std::vector<char32_t> out;
    out.reserve(size_t(s.size()));
    for (char32_t c : s.toUcs4())
        out.push_back(c);
    return out;
}

std::vector<PatternItem> parsePattern(QStringView pattern)
{
    const std::vector<char32_t> p = codePoints(pattern);
    std::vector<PatternItem> items;
    for (size_t i = 0; i < p.size(); ++i) {
        PatternItem item;
        switch (p[i]) {
        case U'*':
            if (!items.empty() && items.back().kind == PatternItem::AnyRun)
                continue;
            item.kind = PatternItem::AnyRun;
            break;
        case U'?': item.kind = PatternItem::OneChar; break;
        case U'#': item.kind = PatternItem::Digit; break;
        case U'[': {
            size_t j = i + 1;
            bool negate = false;
            if (j < p.size() && p[j] == U'!') {
                negate = true;
                ++j;
            }
            // "]" right after the opening bracket is a member, as in the old engine.
            size_t close = j < p.size() && p[j] == U']' ? j + 1 : j;
            while (close < p.size() && p[close] != U']')
                ++close;
            if (close >= p.size()) {  // no closing bracket: the "[" stands for itself
                item.ch = U'[';
                break;
            }
            item.kind = PatternItem::Set;
            item.negate = negate;
            for (size_t k = j; k < close; ++k) {
                if (k + 2 < close && p[k + 1] == U'-') {
                    item.ranges.emplace_back(p[k], p[k + 2]);
                    k += 2;
                } else {
                    item.ranges.emplace_back(p[k], p[k]);
                }
            }
            i = close;
            break;
        }
        default: item.ch = fold(p[i]); break;
        }
        items.push_back(std::move(item));
    }
    return items;
}

bool inSet(const PatternItem &item, char32_t c)
{
    const char32_t variants[] = {c, fold(c), QChar::toUpper(c), QChar::toLower(c)};
    bool found = false;
    for (const auto &[lo, hi] : item.ranges)
        for (char32_t v : variants)
            if (v >= lo && v <= hi)
                found = true;
    return found != item.negate;
}

bool matchOne(const PatternItem &item, char32_t c)
{
    switch (item.kind) {
    case PatternItem::Literal: return fold(c) == item.ch;
    case PatternItem::OneChar: return true;
    case PatternItem::Digit: return c >= U'0' && c <= U'9';
    case PatternItem::Set: return inSet(item, c);
    case PatternItem::AnyRun: return false;
    }
    return false;
}

}  // namespace

bool likeMatch(QStringView text, QStringView pattern)
{
    const std::vector<PatternItem> items = parsePattern(pattern);
    const std::vector<char32_t> t = codePoints(text);
    // The usual glob walk: on a mismatch go back to the last "*" and let it take one more.
    size_t ti = 0, pi = 0;
    size_t starPi = SIZE_MAX, starTi = 0;
    while (ti < t.size()) {
        if (pi < items.size() && items[pi].kind == PatternItem::AnyRun) {
            starPi = pi++;
            starTi = ti;
        } else if (pi < items.size() && matchOne(items[pi], t[ti])) {
            ++pi;
            ++ti;
        } else if (starPi != SIZE_MAX) {
            pi = starPi + 1;
            ti = ++starTi;
        } else {
            return false;
        }
    }
    while (pi < items.size() && items[pi].kind == PatternItem::AnyRun)
        ++pi;
    return pi == items.size();
}

// ---------------------------------------------------------------- collation

namespace {

struct CzechCollator {
    QCollator collator = newCollator();
    // Primary weights of the printable ASCII characters in the collator's own order, so
    // that plain ASCII texts without "ch" compare without a call into the collator.
    std::array<quint8, 128> ascii{};

    CzechCollator()
    {
        std::vector<QString> chars;
        for (char c = 0x20; c < 0x7f; ++c)
            chars.emplace_back(QLatin1Char(c));
        std::sort(chars.begin(), chars.end(),
                  [this](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
        quint8 weight = 1;
        for (size_t i = 0; i < chars.size(); ++i) {
            if (i > 0 && collator.compare(chars[i - 1], chars[i]) != 0)
                ++weight;
            ascii[size_t(chars[i].at(0).unicode())] = weight;
        }
    }
};

const CzechCollator &czech()
{
    // A collator is not to be shared between threads: each thread that compares has one.
    thread_local const CzechCollator instance;
    return instance;
}

// Printable ASCII with no "ch" in it: the fast path's domain.
bool plainAscii(const char *s, int n)
{
    for (int i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c >= 0x7f)
            return false;
        if ((c | 0x20) == 'c' && i + 1 < n && (s[i + 1] | 0x20) == 'h')
            return false;
    }
    return true;
}

}  // namespace

int collate(QStringView a, QStringView b)
{
    return czech().collator.compare(a, b);
}

QCollator newCollator()
{
    QCollator collator{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

QCollatorSortKey collationKey(const QString &text)
{
    return czech().collator.sortKey(text);
}

namespace {

// The length of the bytes both texts begin with, cut back to where comparing what
// follows gives the same answer as comparing the whole: after a whole plain character
// that is no "c" (which may begin "ch"), before plain characters (no combining mark).
int commonPrefix(const char *a, int aLength, const char *b, int bLength)
{
    const int n = std::min(aLength, bLength);
    int p = 0;
    while (p < n && a[p] == b[p])
        ++p;
    const auto plain = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    while (p > 0
           && !(plain(a[p - 1]) && (a[p - 1] | 0x20) != 'c' && (p == aLength || plain(a[p])) && (p == bLength || plain(b[p]))))
        --p;
    return p;
}

// UTF-8 decoded into a buffer that lives on the stack for the usual lengths: the
// comparisons of a sort must not allocate.
QStringView decode(const char *s, int n, QVarLengthArray<QChar, 256> &buffer)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    buffer.resize(qsizetype(decoder.requiredSpace(n)));
    QChar *end = decoder.appendToBuffer(buffer.data(), QByteArrayView(s, n));
    return QStringView(buffer.data(), end - buffer.data());
}

}  // namespace

int collateUtf8(const char *a, int aLength, const char *b, int bLength)
{
    const CzechCollator &c = czech();
    const int skip = commonPrefix(a, aLength, b, bLength);
    a += skip;
    b += skip;
    aLength -= skip;
    bLength -= skip;
    if (plainAscii(a, aLength) && plainAscii(b, bLength)) {
        const int n = std::min(aLength, bLength);
        for (int i = 0; i < n; ++i) {
            const int wa = c.ascii[size_t(static_cast<unsigned char>(a[i]))];
            const int wb = c.ascii[size_t(static_cast<unsigned char>(b[i]))];
            if (wa != wb)
                return wa < wb ? -1 : 1;
        }
        return aLength == bLength ? 0 : aLength < bLength ? -1 : 1;
    }
    QVarLengthArray<QChar, 256> x, y;
    const int r = c.collator.compare(decode(a, aLength, x), decode(b, bLength, y));
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

// ---------------------------------------------------------------- number literals

std::optional<QString> numberLiteral(const QString &typed)
{
    QString s = typed;
    qsizetype lead = 0;
    while (lead < s.size() && s[lead] == QLatin1Char(' '))
        ++lead;
    s.remove(0, lead);
    s.remove(QChar(0x00A0));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    if (s.isEmpty())
        return QStringLiteral("0");
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QString trimmed = s.trimmed();
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    return trimmed;
}

// ---------------------------------------------------------------- format

namespace {

bool isDatePattern(const QString &pattern)
{
    for (QChar ch : pattern) {
        const char c = ch.toLower().toLatin1();
        if (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's')
            return true;
    }
    return false;
}

QString formatDate(const QDateTime &dt, const QString &pattern)
{
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i].toLower();
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == c)
            ++run;
        const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
        if (c == QLatin1Char('y')) {
            out += run >= 4 ? QString::number(dt.date().year()) : two(dt.date().year() % 100);
            afterHour = false;
        } else if (c == QLatin1Char('m')) {
            const int v = afterHour ? dt.time().minute() : dt.date().month();
            out += run >= 2 ? two(v) : QString::number(v);
            afterHour = false;
        } else if (c == QLatin1Char('d')) {
            out += run >= 2 ? two(dt.date().day()) : QString::number(dt.date().day());
            afterHour = false;
        } else if (c == QLatin1Char('h')) {
            out += run >= 2 ? two(dt.time().hour()) : QString::number(dt.time().hour());
            afterHour = true;
        } else if (c == QLatin1Char('n')) {
            out += run >= 2 ? two(dt.time().minute()) : QString::number(dt.time().minute());
            afterHour = false;
        } else if (c == QLatin1Char('s')) {
            out += run >= 2 ? two(dt.time().second()) : QString::number(dt.time().second());
            afterHour = false;
        } else {
            out += pattern.mid(i, run);  // separators keep "m" after an hour meaning minutes
        }
        i += run;
    }
    return out;
}

QString formatNumber(double v, const QString &pattern)
{
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? pattern : pattern.left(point);
    const QString fracPart = point < 0 ? QString() : pattern.mid(point + 1);
    const int decimals = int(fracPart.count(QLatin1Char('0')) + fracPart.count(QLatin1Char('#')));
    const int minFrac = int(fracPart.count(QLatin1Char('0')));
    const int minInt = int(intPart.count(QLatin1Char('0')));
    const bool grouping = intPart.contains(QLatin1Char(','));
    // Format rounds halves away from zero, unlike the integer conversions.
    const double scale = std::pow(10.0, decimals);
    // Rounded as the number reads with 15 digits: 1.005 is stored a hair below itself,
    // and its half must still round up.
    const double scaled = QString::number(std::abs(v) * scale, 'g', 15).toDouble();
    const double rounded = std::round(scaled) / scale;
    QString digits = QString::number(rounded, 'f', decimals);
    QString whole = digits, frac;
    if (decimals > 0) {
        whole = digits.section(QLatin1Char('.'), 0, 0);
        frac = digits.section(QLatin1Char('.'), 1);
        while (frac.size() > minFrac && frac.endsWith(QLatin1Char('0')))
            frac.chop(1);
    }
    if (whole == QLatin1String("0") && minInt == 0)
        whole.clear();
    while (whole.size() < minInt)
        whole.prepend(QLatin1Char('0'));
    if (grouping)
        for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
            whole.insert(i, QChar(0x00A0));
    QString out = whole;
    if (!frac.isEmpty())
        out += QLatin1Char(',') + frac;  // the regional decimal comma
    if (v < 0 && rounded != 0)
        out.prepend(QLatin1Char('-'));
    return out;
}

}  // namespace

Variant format(const Variant &value, const QString &pattern)
{
    if (value.IsNull())
        return Variant::Null();
    if (value.IsEmpty())
        return QString();
    if (isDatePattern(pattern)) {
        if (value.IsString()) {
            if (const auto d = vbParseDate(value.stringValue()))
                return formatDate(*d, pattern);
            return value;
        }
        return formatDate(vbDateToDateTime(value.toDouble()), pattern);
    }
    if (value.IsString()) {
        if (const auto n = vbParseNumber(value.stringValue()))
            return formatNumber(*n, pattern);
        return value;
    }
    return formatNumber(value.toDouble(), pattern);
}

// ---------------------------------------------------------------- statement rewriting

namespace {

struct Token {
    enum Kind { Space, Word, String, Quoted, Number, Symbol } kind;
    QString text;
};

std::vector<Token> tokenize(const QString &sql)
{
    std::vector<Token> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            tokens.push_back({Token::Space, sql.mid(start, i - start)});
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A string in either quote; the doubled quote stands for one quote character.
            QString value;
            bool closed = false;
            ++i;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += sql[i++];
            }
            if (!closed) {
                // Left open, so that the engine refuses the statement instead of running
                // it with a quote that nobody typed.
                tokens.push_back({Token::Symbol, sql.mid(start)});
                continue;
            }
            value.replace(QLatin1Char('\''), QLatin1String("''"));
            tokens.push_back({Token::String, QLatin1Char('\'') + value + QLatin1Char('\'')});
        } else if (c == QLatin1Char('[') || c == QLatin1Char('`')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('`');
            ++i;
            while (i < n && sql[i] != close)
                ++i;
            if (i < n)
                ++i;
            tokens.push_back({Token::Quoted, sql.mid(start, i - start)});
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            while (i < n && (sql[i].isLetterOrNumber() || sql[i] == QLatin1Char('_') || sql[i] == QLatin1Char('$')))
                ++i;
            tokens.push_back({Token::Word, sql.mid(start, i - start)});
        } else if (c.isDigit()) {
            while (i < n && (sql[i].isLetterOrNumber() || sql[i] == QLatin1Char('.')))
                ++i;
            tokens.push_back({Token::Number, sql.mid(start, i - start)});
        } else {
            ++i;
            tokens.push_back({Token::Symbol, QString(c)});
        }
    }
    return tokens;
}

bool isWord(const Token &t, const char *word)
{
    return t.kind == Token::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Index of the next token that is not a blank, from i on.
size_t nextSolid(const std::vector<Token> &tokens, size_t i)
{
    while (i < tokens.size() && tokens[i].kind == Token::Space)
        ++i;
    return i;
}

bool isTextType(const Token &t)
{
    static const char *const names[] = {"varchar", "char", "text", "longchar", "memo", "longtext",
                                        "string", "nvarchar", "nchar", "character", "alphanumeric", "note"};
    for (const char *name : names)
        if (isWord(t, name))
            return true;
    return false;
}

// Gives each text column of a CREATE TABLE the catalog's collation, unless it has one.
void addCollation(std::vector<Token> &tokens, size_t open)
{
    int depth = 0;
    bool expectColumn = false;
    for (size_t i = open; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        if (t.kind == Token::Symbol && t.text == QLatin1String("(")) {
            if (++depth == 1)
                expectColumn = true;
            continue;
        }
        if (t.kind == Token::Symbol && t.text == QLatin1String(")")) {
            --depth;
            continue;
        }
        if (t.kind == Token::Symbol && t.text == QLatin1String(",") && depth == 1) {
            expectColumn = true;
            continue;
        }
        if (depth != 1 || !expectColumn || t.kind == Token::Space)
            continue;
        expectColumn = false;
        if (isWord(t, "constraint") || isWord(t, "primary") || isWord(t, "unique") || isWord(t, "check")
            || isWord(t, "foreign"))
            continue;
        size_t type = nextSolid(tokens, i + 1);
        if (type >= tokens.size() || !isTextType(tokens[type]))
            continue;
        // SQLite decides a column's affinity from its type name: one without CHAR, TEXT or
        // CLOB in it (Memo, String, Note) would keep '007' as the number 7.
        const QString lower = tokens[type].text.toLower();
        if (!lower.contains(QLatin1String("char")) && !lower.contains(QLatin1String("text"))
            && !lower.contains(QLatin1String("clob")))
            tokens[type].text += QStringLiteral(" Text");
        size_t end = type;  // the last token of the type, its size included
        size_t after = nextSolid(tokens, type + 1);
        if (after < tokens.size() && tokens[after].text == QLatin1String("(")) {
            while (after < tokens.size() && tokens[after].text != QLatin1String(")"))
                ++after;
            if (after >= tokens.size())
                return;  // the size is never closed: the engine will refuse the statement
            end = after;
        }
        const size_t follow = nextSolid(tokens, end + 1);
        if (follow < tokens.size() && isWord(tokens[follow], "collate"))
            continue;
        tokens[end].text += QStringLiteral(" COLLATE ") + QLatin1String(kCollationName);
        i = end;
    }
}

QString join(const std::vector<Token> &tokens, size_t from = 0, size_t to = SIZE_MAX)
{
    QString out;
    for (size_t i = from; i < tokens.size() && i < to; ++i)
        out += tokens[i].text;
    return out;
}

// Only statements of these kinds, or with a double quote, ever need rewriting: the rest
// (every INSERT and UPDATE) passes untouched without being taken apart.
bool mayNeedRewriting(const QString &sql)
{
    if (sql.contains(QLatin1Char('"')))
        return true;
    qsizetype i = 0;
    while (i < sql.size() && sql[i].isSpace())
        ++i;
    qsizetype end = i;
    while (end < sql.size() && sql[end].isLetter())
        ++end;
    const QStringView word = QStringView(sql).mid(i, end - i);
    for (const char *kind : {"delete", "create", "select"})
        if (word.compare(QLatin1String(kind), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

}  // namespace

Statement rewrite(const QString &sql)
{
    if (!mayNeedRewriting(sql))
        return {sql, QString()};
    std::vector<Token> tokens = tokenize(sql);
    Statement result;
    const size_t first = nextSolid(tokens, 0);
    if (first >= tokens.size()) {
        result.sql = sql;
        return result;
    }
    if (isWord(tokens[first], "delete")) {
        // DELETE * FROM t, and DELETE t.* FROM t: the star names nothing in SQLite.
        size_t i = nextSolid(tokens, first + 1);
        size_t starEnd = SIZE_MAX;
        if (i < tokens.size() && tokens[i].text == QLatin1String("*")) {
            starEnd = i;
        } else if (i + 2 < tokens.size() && (tokens[i].kind == Token::Word || tokens[i].kind == Token::Quoted)
                   && tokens[i + 1].text == QLatin1String(".") && tokens[i + 2].text == QLatin1String("*")) {
            starEnd = i + 2;
        }
        const size_t from = starEnd == SIZE_MAX ? tokens.size() : nextSolid(tokens, starEnd + 1);
        if (from < tokens.size() && isWord(tokens[from], "from"))
            for (size_t k = i; k <= starEnd; ++k)
                tokens[k].text.clear();
    } else if (isWord(tokens[first], "create")) {
        const size_t table = nextSolid(tokens, first + 1);
        if (table < tokens.size() && isWord(tokens[table], "table")) {
            for (size_t i = table; i < tokens.size(); ++i)
                if (tokens[i].text == QLatin1String("(")) {
                    addCollation(tokens, i);
                    break;
                }
        }
    } else if (isWord(tokens[first], "select")) {
        int depth = 0;
        for (size_t i = first; i < tokens.size(); ++i) {
            if (tokens[i].text == QLatin1String("("))
                ++depth;
            else if (tokens[i].text == QLatin1String(")"))
                --depth;
            else if (depth == 0 && isWord(tokens[i], "from"))
                break;
            else if (depth == 0 && isWord(tokens[i], "into")) {
                const size_t name = nextSolid(tokens, i + 1);
                if (name >= tokens.size())
                    break;
                result.into = tokens[name].text;
                for (size_t k = i; k <= name; ++k)
                    tokens[k].text.clear();
                break;
            }
        }
    }
    result.sql = join(tokens);
    return result;
}

namespace {

[[noreturn]] void notConvertible(const SqlLiteralRules &rules, int kind, const QString &detail = QString())
{
    QString description = rules.translate(QStringLiteral("49,Data nelze konvertovat do SQL ( VarType="))
                          + QString::number(kind) + QStringLiteral(" )");
    if (!detail.isEmpty())
        description += QStringLiteral(": ") + detail;
    throw VbError(10000, QStringLiteral("Lib.CSQL"), description);
}

}  // namespace

QString sqlLiteral(const Variant &value, bool numeric, const SqlLiteralRules &rules)
{
    switch (value.VarType()) {
    case vbEmpty:
        return QStringLiteral("''");
    case vbNull:
        return QStringLiteral("null");
    case vbInteger: case vbLong: case vbByte:
        return QString::number(value.toLong());
    case vbSingle:
        return vbStr(value.toSingle(), 7).trimmed();
    case vbDouble: case vbCurrency: case vbDecimal:
        return vbStr(value.toDouble(), 15).trimmed();
    case vbDate:
        return rules.date(value);
    case vbString:
        if (numeric) {
            if (const auto number = numberLiteral(value.stringValue()))
                return *number;
            notConvertible(rules, vbString, QLatin1Char('"') + value.stringValue() + QLatin1Char('"'));
        }
        return QLatin1Char('\'') + QString(value.stringValue()).replace(QLatin1Char('\''), QLatin1String("''"))
               + QLatin1Char('\'');
    case vbBoolean:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        notConvertible(rules, value.VarType());
    }
}

}  // namespace jet
