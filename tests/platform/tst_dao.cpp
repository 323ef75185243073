#include <QtTest>
class Stub : public QObject { Q_OBJECT private Q_SLOTS: void none() {} };
QTEST_GUILESS_MAIN(Stub)
#include "tst_dao.moc"
