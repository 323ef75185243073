#include "records/polebox.h"

#include "common/utility.h"

#include <QLineEdit>
#include <QListView>
#include <QStringListModel>

void PoleBox::showPopup()
{
    if (beforePopup)
        beforePopup();
    QComboBox::showPopup();
}

void PoleBox::NastavSeznam(const QStringList &values)
{
    const QString kept = currentText();
    static_cast<QStringListModel *>(model())->setStringList(values);
    setEditText(kept);
}

PoleBox *NovyPoleBox(QWidget &parent, const QString &typ, int textLength, QObject &window,
                     std::function<void(PoleBox &)> beforePopup)
{
    auto *box = new PoleBox(&parent);
    box->setObjectName(QStringLiteral("cmb"));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setModel(new QStringListModel(box));
    if (auto *list = qobject_cast<QListView *>(box->view()))
        list->setUniformItemSizes(true);
    box->setProperty("Tag", typ);
    if (textLength > 0 && typ == QLatin1String("C"))
        box->lineEdit()->setMaxLength(textLength);
    HlidejDelkuBoxu(*box->lineEdit());
    box->beforePopup = [box, beforePopup = std::move(beforePopup)] { beforePopup(*box); };
    box->installEventFilter(&window);
    box->lineEdit()->installEventFilter(&window);
    return box;
}
