#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// The runtime's message and input boxes, with its style and result codes.
enum VbMsgBoxStyle : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
    vbApplicationModal = 0, vbSystemModal = 4096,
};
enum VbMsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Shows a message box; the title defaults to the application's name. Returns a VbMsgBoxResult.
int MsgBox(const QString &prompt, int buttons = vbOKOnly, const QString &title = QString());
// Shows an input box; returns the typed text, or "" when the user cancels.
QString InputBox(const QString &prompt, const QString &title = QString(), const QString &defaultText = QString());

namespace msgbox {

// One box as it was shown.
struct Shown {
    bool input = false;  // an input box rather than a message box
    int style = 0;
    QString title;
    QString text;
};

struct Answer {
    int result = vbOK;
    QString text;  // an input box's answer; a null text accepts the box's default
};

// Answers boxes in place of the user: tests, and scripted runs of the real program.
class Answerer
{
public:
    virtual ~Answerer() = default;
    virtual Answer answer(const Shown &box) = 0;
};

// Answers from a queue and remembers every box. A box with no answer left is handed
// to onUnexpected (a test makes that a failure) and answered with Cancel.
class ScriptedAnswerer : public Answerer
{
public:
    ScriptedAnswerer &expect(int result) { m_answers.push_back({result, {}}); return *this; }
    ScriptedAnswerer &expectInput(const QString &text) { m_answers.push_back({vbOK, text}); return *this; }
    Answer answer(const Shown &box) override;

    const std::vector<Shown> &shown() const { return m_shown; }
    size_t pending() const { return m_answers.size(); }
    void clear() { m_answers.clear(); m_shown.clear(); }
    std::function<void(const Shown &)> onUnexpected;

private:
    std::deque<Answer> m_answers;
    std::vector<Shown> m_shown;
};

// Installs an answerer for every box that follows; nullptr shows real boxes again.
// The caller keeps ownership. Returns the one installed before.
Answerer *setAnswerer(Answerer *answerer);
Answerer *answerer();

// When OSKAL_SCRIPT names a file, every box of the program is answered by its next line
// ("yes", "no", "ok", "cancel", "abort", "retry", "ignore" or "input TEXT"; blank lines
// and lines starting with "#" are skipped) and written to the file that OSKAL_SCRIPT_LOG
// names as "style|title|text" (input boxes with the style "input", line breaks as \n).
// A box with no answer left, or with an answer that is none of its buttons, ends the
// program with exit code 3. Returns whether a script was installed.
bool installScriptFromEnvironment();

// The log line of one box, as the scripted runs write it.
QString logLine(const Shown &box);

}  // namespace msgbox
