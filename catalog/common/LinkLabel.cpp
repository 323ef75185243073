#include "common/LinkLabel.h"

#include <QUrl>

LinkLabel::LinkLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setOpenExternalLinks(true);
}

void LinkLabel::Caption(const QString &value)
{
    m_caption = value;
    refresh();
}

void LinkLabel::Url(const QString &value)
{
    m_url = value;
    refresh();
}

void LinkLabel::refresh()
{
    const QString shown = m_caption.isEmpty() ? m_url : m_caption;
    const QString href = QUrl::fromUserInput(m_url).toString(QUrl::FullyEncoded);
    setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(href.toHtmlEscaped(), shown.toHtmlEscaped()));
}
