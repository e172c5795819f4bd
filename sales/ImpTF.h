#pragma once

#include <QDialog>

class QPushButton;

// The print-choice window offered after a recorded sale: each button stores its print type and
// closes the window. Closing it any other way counts as "&Cancelar".
class TFImpTF : public QDialog {
    Q_OBJECT
public:
    // The print types the buttons store.
    static QString ticket70() { return QStringLiteral("TKT"); }
    static QString ticket58() { return QStringLiteral("TKT2"); }
    static QString invoice() { return QStringLiteral("FAC"); }
    static QString fiscal() { return QStringLiteral("FISCAL"); }
    static QString none() { return QStringLiteral(" "); }

    explicit TFImpTF(QWidget *parent = nullptr);
    ~TFImpTF() override;

    QPushButton *BTicket = nullptr;
    QPushButton *BFactura = nullptr;
    QPushButton *BTicket57 = nullptr;
    QPushButton *BFiscal = nullptr;
    QPushButton *BCancelar = nullptr;

    // The print type chosen at the last showing.
    QString printType() const { return m_printType; }
    // Forgets the last choice, as the window is about to be shown.
    void reset() { m_printType = none(); }

    void BTicketClick() { choose(ticket70()); }
    void BFacturaClick() { choose(invoice()); }
    void BTicket57Click() { choose(ticket58()); }
    void BFiscalClick() { choose(fiscal()); }
    void BCancelarClick() { choose(none()); }

private:
    void choose(const QString &printType);

    QString m_printType = none();
};

// The print-choice window of the program, set while one exists.
extern TFImpTF *FImpTF;
