#include "testhost.h"

#include "VarnexEditUni.h"

#include <QCloseEvent>

TestHost::TestHost(dao::Database *db, const MessageList *texts, QWidget *parent)
    : QWidget(parent), m_db(db), m_texts(texts)
{
    setObjectName(QStringLiteral("frmTest"));
    resize(640, 400);
    VEdit = new VarnexEditUni(this);
    VEdit->setObjectName(QStringLiteral("VEdit"));
    VEdit->setGeometry(0, 0, 640, 400);
}

void TestHost::defineColumns(quint8 mode, const QString &gridName, const QString &user)
{
    VEdit->SetData(m_db);
    if (m_texts)
        VEdit->SetLang(m_texts);
    if (!gridName.isEmpty())
        VEdit->GridName(gridName);
    VEdit->UserName(user);
    VEdit->Edited(mode);
    VEdit->Init(6, 0);
    VEdit->SetCol(0, QStringLiteral("Inter"), 0, QStringLiteral("S"), QStringLiteral("Inter"), QStringLiteral("N"), 10);
    VEdit->SetCol(1, QStringLiteral("Název"), 2000, QStringLiteral("L"), QStringLiteral("Katalog.Pol1c"),
                  QStringLiteral("C"), 50);
    VEdit->SetCol(2, QStringLiteral("Cena"), 1200, QStringLiteral("R"), QStringLiteral("Katalog.Pol1n"),
                  QStringLiteral("N"), 12);
    VEdit->SetCol(3, QStringLiteral("Datum"), 1200, QStringLiteral("C"), QStringLiteral("Katalog.Pol1d"),
                  QStringLiteral("D"), 10);
    VEdit->SetCol(4, QStringLiteral("Aktivní"), 800, QStringLiteral("C"), QStringLiteral("Aktivni"),
                  QStringLiteral("z"), 1);
    VEdit->SetCol(5, QStringLiteral("Stav"), 0, QStringLiteral("S"), QStringLiteral("Update"), QStringLiteral("C"), 1);
}

void TestHost::fill(const QStringList &rows, int total)
{
    VEdit->Redraw(false);
    VEdit->Clear();
    for (const QString &row : rows)
        VEdit->AddData(row);
    VEdit->RecordSetRows(total);
    VEdit->Redraw(true);
}

void TestHost::closeEvent(QCloseEvent *event)
{
    if (onClose)
        onClose();
    QWidget::closeEvent(event);
}
