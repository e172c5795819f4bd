#pragma once

#include <QDialog>

class QLabel;

// The wait window: up while the program starts and while a command prepares a window, with a
// line that long work fills with what it is doing.
class TFAguarde : public QDialog {
    Q_OBJECT
public:
    explicit TFAguarde(QWidget *parent = nullptr);
    ~TFAguarde() override;

    QLabel *Label1 = nullptr;
    QLabel *L1 = nullptr;

    // Shows the window and paints it at once: the work that follows keeps the event loop busy.
    void showNow();
    // Writes into L1 and paints it at once.
    void setProgress(const QString &text);
    // Hides the window and empties L1 for the next use.
    void closeNow();

private:
    void paintNow();

    bool m_shownForReport = false;
};

// The wait window of the program, set while one exists.
extern TFAguarde *FAguarde;

// The same operations on FAguarde; nothing happens while there is none.
namespace aguarde {
void show();
void progress(const QString &text);
void close();
}  // namespace aguarde
