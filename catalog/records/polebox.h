#pragma once

#include <QComboBox>
#include <QStringList>
#include <functional>

// A field box of the record windows (the edit window's values, the selection window's
// conditions): an editable combo box whose drop-down list is rebuilt from the catalog
// each time it opens.
class PoleBox : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;
    void showPopup() override;
    // The values become the box's list; the text in the box stays as typed.
    void NastavSeznam(const QStringList &values);
};

// A field box of the type letter `typ` (C, N or D, kept in its "Tag") in `parent`, as both
// record windows have it: editable, nothing typed going into its list, items of one height
// (a section's list may be long), every typed character through the length rule, the
// events of the box and of its line edit seen first by `window`, and `beforePopup` run on
// it before its list opens.
// `textLength` limits a text box (0: no limit): the edit window's box holds what a text
// field of the catalog stores, while a selection row takes a list of values and has no
// limit of its own.
PoleBox *NovyPoleBox(QWidget &parent, const QString &typ, int textLength, QObject &window,
                     std::function<void(PoleBox &)> beforePopup);
