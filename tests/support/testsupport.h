#pragma once

// Helpers shared by the test programs: boxes answered from a script, and a fresh copy
// of the built program folder to work in.

#include "msgbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace testsupport {

// Answers message and input boxes from a queue for as long as it lives. A box that no
// answer was queued for fails the running test, and so do answers left unused.
class ScriptedBoxes
{
public:
    ScriptedBoxes()
    {
        m_answerer.onUnexpected = [](const msgbox::Shown &box) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected box: ") + msgbox::logLine(box)), __FILE__, __LINE__);
        };
        m_previous = msgbox::setAnswerer(&m_answerer);
    }
    ~ScriptedBoxes()
    {
        msgbox::setAnswerer(m_previous);
        if (m_answerer.pending() && !m_released)
            QTest::qFail("answers queued for boxes that were never shown", __FILE__, __LINE__);
    }
    ScriptedBoxes(const ScriptedBoxes &) = delete;
    ScriptedBoxes &operator=(const ScriptedBoxes &) = delete;

    ScriptedBoxes &expect(int result) { m_answerer.expect(result); return *this; }
    ScriptedBoxes &expectInput(const QString &text) { m_answerer.expectInput(text); return *this; }
    const std::vector<msgbox::Shown> &shown() const { return m_answerer.shown(); }
    // For a test that checks unused answers itself.
    void release() { m_released = true; }

private:
    msgbox::ScriptedAnswerer m_answerer;
    msgbox::Answerer *m_previous = nullptr;
    bool m_released = false;
};

// The built program folder (OSKAL_APP_DIR), for tests that read its files.
inline QString builtProgramFolder()
{
    return qEnvironmentVariable("OSKAL_APP_DIR");
}

// A fresh copy of the program folder's data files in a temporary folder, so that a test
// can change them freely. The path ends with "/", as the program's folder does.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        const QDir built(builtProgramFolder());
        for (const QString &name : {QStringLiteral("QIRData.upg"), QStringLiteral("Lang.mdb")})
            if (built.exists(name))
                QFile::copy(built.filePath(name), m_dir.filePath(name));
        QDir(m_dir.path()).mkdir(QStringLiteral("img"));
    }
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

}  // namespace testsupport
