#pragma once

// Helpers shared by the test programs: boxes answered from a script, and a fresh copy
// of the built program folder to work in.

#include "msgbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

// The box shown `index`th (from 0) had this style, title and text.
inline void expectBox(const ScriptedBoxes &boxes, size_t index, int style, const QString &title, const QString &text)
{
    QVERIFY(boxes.shown().size() > index);
    QCOMPARE(boxes.shown()[index].style, style);
    QCOMPARE(boxes.shown()[index].title, title);
    QCOMPARE(boxes.shown()[index].text, text);
}

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

// An X server of the test's own (Xvfb), for what only a real display shows. It takes the
// first free display number itself, so tests running side by side do not collide. Not
// valid where Xvfb is missing.
class VirtualDisplay
{
public:
    VirtualDisplay()
    {
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                                QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                                QStringLiteral("tcp")});
        if (!m_server.waitForStarted(5000))
            return;
        // The number comes once the server accepts connections.
        QByteArray number;
        while (!number.contains('\n') && m_server.waitForReadyRead(20000))
            number += m_server.readAllStandardOutput();
        if (number.contains('\n'))
            m_name = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    }
    ~VirtualDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    bool isValid() const { return !m_name.isEmpty(); }
    // The value for DISPLAY.
    QString name() const { return m_name; }

private:
    QProcess m_server;
    QString m_name;
};

}  // namespace testsupport
