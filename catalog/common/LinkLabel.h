#pragma once

#include <QLabel>

// A label that shows an address as a link and opens it with the desktop's browser or
// application when clicked.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(QWidget *parent = nullptr);

    // The text shown (the address itself when empty) and the address opened.
    void Caption(const QString &value);
    void Url(const QString &value);

private:
    void refresh();

    QString m_caption;
    QString m_url;
};
