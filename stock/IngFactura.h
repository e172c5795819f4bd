#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks the number of the supplier's invoice that came with the goods being received.
class TFIngFactura : public QDialog {
    Q_OBJECT
public:
    explicit TFIngFactura(QWidget *parent = nullptr);

    QLabel *LabTexto = nullptr;
    QLineEdit *EdFactura = nullptr;
    QPushButton *BAceptar = nullptr;
    QPushButton *BCancelar = nullptr;

    void BAceptarClick();
    // The number accepted; 0 before.
    double number() const { return m_number; }

    // Shows the question through the modal service: the invoice number, or nothing when the
    // operator cancelled.
    static std::optional<double> ask(QWidget *parent, const QString &supplier, const QString &total);

private:
    double m_number = 0;
};
