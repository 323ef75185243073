#include "messagescan.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <algorithm>

namespace messagescan {

std::optional<Message> parseMessage(const QString &literal)
{
    const qsizetype comma = literal.indexOf(QLatin1Char(','));
    if (comma < 1 || comma > 4)
        return std::nullopt;
    int number = 0;
    for (qsizetype i = 0; i < comma; ++i) {
        if (literal[i].unicode() < '0' || literal[i].unicode() > '9')
            return std::nullopt;
        number = number * 10 + (literal[i].unicode() - '0');
    }
    if (number == 0)
        return std::nullopt;
    const QString text = literal.mid(comma + 1);
    const QString lead = text.trimmed();
    if (lead.isEmpty() || lead[0].isDigit())
        return std::nullopt;
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); }))
        return std::nullopt;
    return Message{number, text};
}

namespace {

bool isIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

QString codePoint(uint value)
{
    const char32_t c = value;
    return QString::fromUcs4(&c, 1);
}

// Reads the C++ source one token kind at a time; only string literals are kept.
class Lexer
{
public:
    Lexer(const QString &code, const QString &file) : m_code(code), m_file(file) {}

    std::vector<Use> run()
    {
        while (m_pos < m_code.size()) {
            const QChar c = m_code[m_pos];
            if (c == QLatin1Char('/') && peek(1) == QLatin1Char('/')) {
                skipTo(QStringLiteral("\n"));
            } else if (c == QLatin1Char('/') && peek(1) == QLatin1Char('*')) {
                m_pos += 2;
                skipTo(QStringLiteral("*/"));
            } else if (c == QLatin1Char('\'')) {
                quoted(QLatin1Char('\''));
            } else if (c == QLatin1Char('"')) {
                keep(quoted(QLatin1Char('"')));
            } else if (isIdentifierChar(c)) {
                word();
            } else {
                advance();
            }
        }
        return std::move(m_uses);
    }

private:
    QChar peek(qsizetype ahead) const
    {
        return m_pos + ahead < m_code.size() ? m_code[m_pos + ahead] : QChar();
    }

    void advance()
    {
        if (m_code[m_pos] == QLatin1Char('\n'))
            ++m_line;
        ++m_pos;
    }

    void skipTo(const QString &end)
    {
        while (m_pos < m_code.size() && !QStringView(m_code).mid(m_pos).startsWith(end))
            advance();
        for (qsizetype i = 0; i < end.size() && m_pos < m_code.size(); ++i)
            advance();
    }

    // An identifier or a number (with its digit separators); one that prefixes a string
    // literal (u8"...", R"(...)") hands over to the literal.
    void word()
    {
        const qsizetype start = m_pos;
        const bool number = m_code[m_pos].isDigit();
        while (m_pos < m_code.size()
               && (isIdentifierChar(m_code[m_pos]) || (number && (m_code[m_pos] == QLatin1Char('\'')
                                                                  || m_code[m_pos] == QLatin1Char('.')))))
            advance();
        if (number || m_pos >= m_code.size() || m_code[m_pos] != QLatin1Char('"'))
            return;
        const QString prefix = m_code.mid(start, m_pos - start);
        static const QStringList plain = {QStringLiteral("u8"), QStringLiteral("u"), QStringLiteral("U"),
                                          QStringLiteral("L")};
        if (plain.contains(prefix))
            keep(quoted(QLatin1Char('"')));
        else if (prefix.endsWith(QLatin1Char('R')) && (prefix.size() == 1 || plain.contains(prefix.chopped(1))))
            keep(raw());
    }

    struct Literal {
        QString text;
        int line;
    };

    Literal quoted(QChar quote)
    {
        const int line = m_line;
        advance();
        QString text;
        while (m_pos < m_code.size() && m_code[m_pos] != quote && m_code[m_pos] != QLatin1Char('\n')) {
            if (m_code[m_pos] == QLatin1Char('\\') && m_pos + 1 < m_code.size())
                text += escape();
            else {
                text += m_code[m_pos];
                advance();
            }
        }
        if (m_pos < m_code.size() && m_code[m_pos] == quote)
            advance();
        return {text, line};
    }

    QString escape()
    {
        advance();  // the backslash
        const QChar c = m_code[m_pos];
        if (c.unicode() >= '0' && c.unicode() <= '7')
            return QString(QChar(char16_t(number(8, 3))));
        advance();
        switch (c.unicode()) {
        case 'n': return QStringLiteral("\n");
        case 't': return QStringLiteral("\t");
        case 'r': return QStringLiteral("\r");
        case 'a': return QStringLiteral("\a");
        case 'b': return QStringLiteral("\b");
        case 'f': return QStringLiteral("\f");
        case 'v': return QStringLiteral("\v");
        case 'x': return QString(QChar(char16_t(number(16, 8))));
        case 'u': return codePoint(number(16, 4));
        case 'U': return codePoint(number(16, 8));
        case '\n': return QString();  // a line continued inside the literal
        default: return QString(c);  // \\ \" \' \?
        }
    }

    uint number(int base, int maxDigits)
    {
        uint value = 0;
        for (int i = 0; i < maxDigits && m_pos < m_code.size(); ++i) {
            const int digit = hexValue(m_code[m_pos]);
            if (digit < 0 || digit >= base)
                break;
            value = value * uint(base) + uint(digit);
            advance();
        }
        return value;
    }

    Literal raw()
    {
        const int line = m_line;
        advance();  // the quote
        const qsizetype open = m_code.indexOf(QLatin1Char('('), m_pos);
        if (open < 0) {
            m_pos = m_code.size();
            return {QString(), line};
        }
        const QString close = QLatin1Char(')') + m_code.mid(m_pos, open - m_pos) + QLatin1Char('"');
        while (m_pos <= open)
            advance();
        const qsizetype end = m_code.indexOf(close, m_pos);
        const qsizetype stop = end < 0 ? m_code.size() : end;
        const QString text = m_code.mid(m_pos, stop - m_pos);
        while (m_pos < stop)
            advance();
        m_pos = std::min(m_code.size(), m_pos + close.size());
        return {text, line};
    }

    void keep(const Literal &literal)
    {
        if (const auto message = parseMessage(literal.text))
            m_uses.push_back(Use{*message, m_file, literal.line});
    }

    const QString &m_code;
    const QString m_file;
    qsizetype m_pos = 0;
    int m_line = 1;
    std::vector<Use> m_uses;
};

}  // namespace

std::vector<Use> scanSource(const QString &code, const QString &file)
{
    return Lexer(code, file).run();
}

const std::vector<QString> &programFolders()
{
    static const std::vector<QString> folders = {QStringLiteral("catalog"), QStringLiteral("editor"),
                                                 QStringLiteral("shared"), QStringLiteral("platform")};
    return folders;
}

std::vector<Use> scanTree(const QString &sourceDir)
{
    const QDir root(sourceDir);
    const QStringList patterns = {QStringLiteral("*.h"), QStringLiteral("*.hpp"), QStringLiteral("*.cpp"),
                                  QStringLiteral("*.cc"), QStringLiteral("*.cxx")};
    std::vector<Use> uses;
    for (const QString &folder : programFolders()) {
        QStringList files;
        QDirIterator it(root.filePath(folder), patterns, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();  // reports in the same order on every machine
        for (const QString &path : files) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const auto found = scanSource(QString::fromUtf8(f.readAll()), root.relativeFilePath(path));
            uses.insert(uses.end(), found.begin(), found.end());
        }
    }
    return uses;
}

UsesByNumber byNumber(const std::vector<Use> &uses)
{
    UsesByNumber result;
    for (const Use &use : uses)
        result[use.message.number][use.message.text].push_back(use);
    return result;
}

QString where(const Use &use)
{
    return QStringLiteral("%1:%2").arg(use.file).arg(use.line);
}

}  // namespace messagescan
