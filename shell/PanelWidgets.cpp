#include "shell/PanelWidgets.h"

#include <QLineEdit>
#include <QMouseEvent>

void showAsAsterisks(QLineEdit *box)
{
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

KeyLabel::KeyLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void KeyLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

CaptionPanel::CaptionPanel(QWidget *parent) : QFrame(parent), m_caption(new QLabel(this))
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    m_caption->setObjectName(QStringLiteral("caption"));
}

QString CaptionPanel::caption() const
{
    return m_caption->text();
}

void CaptionPanel::setCaption(const QString &caption)
{
    m_caption->setText(caption);
}
