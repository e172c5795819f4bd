#pragma once

#include "cash/CashClosing.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

// "Cierre de Caja": the till of the open period split between what is withdrawn and what stays
// as the next opening balance, and the closing that records it.
class TFCierreCaja : public QDialog {
    Q_OBJECT
public:
    explicit TFCierreCaja(QWidget *parent = nullptr);
    ~TFCierreCaja() override;

    QLineEdit *EdSaldoIni = nullptr;
    QLineEdit *EdMovDia = nullptr;
    QLineEdit *EdEFEC = nullptr;
    QLineEdit *EdRET = nullptr;
    QLineEdit *EdAPER = nullptr;
    QLineEdit *EdFec = nullptr;
    QLineEdit *EdFec2 = nullptr;
    QPushButton *BConfirma = nullptr;
    QPushButton *BCerrar = nullptr;

    // Reads the figures and fills the boxes (the menu command, before its question).
    void openClosing();
    const cash::CashFigures &figures() const { return m_figures; }

    void EdRETExit();
    void EdAPERExit();
    void BConfirmaClick();
    void BCerrarClick();

    // Where the period's report is kept before its rows go (the user folder); empty: not kept.
    void setReportFolder(const QString &folder) { m_reportFolder = folder; }
    // The report of the last closing, or empty.
    QString savedReport() const { return m_savedReport; }

signals:
    // A closing was recorded; whoever needs to act after one (a copy of the database) listens.
    void cashClosed(const cash::ClosedCash &closed);

protected:
    void reject() override;

private:
    enum class Box { None, Withdrawal, Opening };
    void createControls();
    bool applySplit(Box box);
    bool readRequest(cash::ClosingRequest &request);
    bool saveReport();

    cash::CashFigures m_figures;
    Box m_lastTyped = Box::None;
    QString m_reportFolder;
    QString m_savedReport;
};

// The "Cierre de Caja" command: reads the figures, asks, and shows a window made afresh.
// `afterClosing` runs after every closing recorded.
void openCierreCaja(QWidget *parent, const std::function<void(const cash::ClosedCash &)> &afterClosing = {});
