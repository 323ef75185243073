#include "msgbox.h"

#include <QCoreApplication>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace msgbox {

namespace {

Answerer *g_answerer = nullptr;

QString defaultTitle(const QString &title)
{
    if (!title.isEmpty())
        return title;
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Oskal") : name;
}

// Answers from the lines of OSKAL_SCRIPT and logs each box to OSKAL_SCRIPT_LOG.
class FileScript : public Answerer
{
public:
    FileScript(std::deque<QString> lines, QString logPath) : m_lines(std::move(lines)), m_logPath(std::move(logPath)) {}

    Answer answer(const Shown &box) override
    {
        log(box);
        if (m_lines.empty())
            fail(QStringLiteral("no scripted answer left for the box ") + logLine(box));
        const QString line = m_lines.front();
        m_lines.pop_front();
        const QString word = line.section(QLatin1Char(' '), 0, 0).toLower();
        if (word == QLatin1String("input") && box.input) {
            QString text = line.mid(6);
            if (text.isNull())
                text = QStringLiteral("");  // typed empty, not "keep the default"
            return {vbOK, text};
        }
        static const std::pair<const char *, int> words[] = {
            {"ok", vbOK}, {"cancel", vbCancel}, {"abort", vbAbort}, {"retry", vbRetry},
            {"ignore", vbIgnore}, {"yes", vbYes}, {"no", vbNo}};
        for (const auto &[name, result] : words)
            if (word == QLatin1String(name) && offers(box, result))
                return {result, QString()};  // "ok" on an input box keeps its default
        // A script out of step with the boxes must stop, not go on down another path.
        fail(QStringLiteral("the answer \"%1\" does not fit the box %2").arg(line, logLine(box)));
    }

private:
    // Whether the box has a button for the answer.
    static bool offers(const Shown &box, int result)
    {
        if (box.input)
            return result == vbOK || result == vbCancel;
        switch (box.style & 0x7) {
        case vbOKCancel: return result == vbOK || result == vbCancel;
        case vbAbortRetryIgnore: return result == vbAbort || result == vbRetry || result == vbIgnore;
        case vbYesNoCancel: return result == vbYes || result == vbNo || result == vbCancel;
        case vbYesNo: return result == vbYes || result == vbNo;
        case vbRetryCancel: return result == vbRetry || result == vbCancel;
        default: return result == vbOK;
        }
    }

    // Ends the run at once, from inside the box, without running the program's teardown.
    [[noreturn]] static void fail(const QString &why)
    {
        std::fprintf(stderr, "Oskal: %s\n", qPrintable(why));
        std::fflush(nullptr);
        std::_Exit(3);
    }

    void log(const Shown &box) const
    {
        if (m_logPath.isEmpty())
            return;
        QFile file(m_logPath);
        if (file.open(QIODevice::Append | QIODevice::Text))
            file.write((logLine(box) + QLatin1Char('\n')).toUtf8());
    }

    std::deque<QString> m_lines;
    QString m_logPath;
};

std::unique_ptr<FileScript> g_fileScript;

int showMessageBox(const QString &prompt, int style, const QString &title)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
    switch (style & 0x7) {
    case vbOKCancel: buttons = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore:
        buttons = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
        break;
    case vbYesNoCancel:
        buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNo: buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: buttons = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: buttons = {{QMessageBox::Ok, vbOK}}; break;
    }
    QMessageBox::StandardButtons set;
    for (const auto &b : buttons)
        set |= b.first;
    box.setStandardButtons(set);
    const size_t defaultIndex = std::min(buttons.size() - 1, size_t((style & 0x300) >> 8));
    box.setDefaultButton(buttons[defaultIndex].first);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto &b : buttons)
        if (b.first == clicked)
            return b.second;
    // Closed without a button: Cancel where there is one, else the only answer there is.
    for (const auto &b : buttons)
        if (b.second == vbCancel)
            return vbCancel;
    return buttons.front().second;
}

}  // namespace

Answer ScriptedAnswerer::answer(const Shown &box)
{
    m_shown.push_back(box);
    if (m_answers.empty()) {
        if (onUnexpected)
            onUnexpected(box);
        return {vbCancel, {}};
    }
    Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

Answerer *setAnswerer(Answerer *answerer)
{
    Answerer *previous = g_answerer;
    g_answerer = answerer;
    return previous;
}

Answerer *answerer()
{
    return g_answerer;
}

bool installScriptFromEnvironment()
{
    const QString path = qEnvironmentVariable("OSKAL_SCRIPT");
    if (path.isEmpty())
        return false;
    std::deque<QString> lines;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
                lines.push_back(line);
        }
    } else {
        std::fprintf(stderr, "Oskal: cannot read OSKAL_SCRIPT %s\n", qPrintable(path));
    }
    g_fileScript = std::make_unique<FileScript>(std::move(lines), qEnvironmentVariable("OSKAL_SCRIPT_LOG"));
    g_answerer = g_fileScript.get();
    return true;
}

QString logLine(const Shown &box)
{
    QString text = box.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    const QString style = box.input ? QStringLiteral("input") : QString::number(box.style);
    return style + QLatin1Char('|') + box.title + QLatin1Char('|') + text;
}

}  // namespace msgbox

int MsgBox(const QString &prompt, int buttons, const QString &title)
{
    const QString shownTitle = msgbox::defaultTitle(title);
    if (msgbox::Answerer *a = msgbox::answerer())
        return a->answer({false, buttons, shownTitle, prompt}).result;
    return msgbox::showMessageBox(prompt, buttons, shownTitle);
}

QString InputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    const QString shownTitle = msgbox::defaultTitle(title);
    if (msgbox::Answerer *a = msgbox::answerer()) {
        const msgbox::Answer answer = a->answer({true, 0, shownTitle, prompt});
        if (answer.result != vbOK)
            return QString();
        return answer.text.isNull() ? defaultText : answer.text;
    }
    bool ok = false;
    const QString text = QInputDialog::getText(nullptr, shownTitle, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}
