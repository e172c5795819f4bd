#pragma once

#include <QFrame>
#include <QLabel>

class QLineEdit;

// Hides what is typed in a password box behind one "*" per character.
void showAsAsterisks(QLineEdit *box);

// A label that answers a click, for the key captions of the main window's shortcut strip.
class KeyLabel : public QLabel {
    Q_OBJECT
public:
    explicit KeyLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// A raised panel with a caption of its own, shown at its right end, beside whatever the panel
// holds.
class CaptionPanel : public QFrame {
    Q_OBJECT
public:
    explicit CaptionPanel(QWidget *parent = nullptr);

    QString caption() const;
    void setCaption(const QString &caption);
    QLabel *captionLabel() const { return m_caption; }

private:
    QLabel *m_caption;
};
