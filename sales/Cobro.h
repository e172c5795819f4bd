#pragma once

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;

// The card tender window: records one card coupon for the sale in progress, in its own
// transaction, and hands the amount back to the sales window.
class TFCobro : public QDialog {
    Q_OBJECT
public:
    explicit TFCobro(QWidget *parent = nullptr);
    ~TFCobro() override;

    // The sales window's date and receipt number boxes and the amount to propose (total to
    // collect less cash, shown with 2 decimals). Fills the card list from TARJETAS.
    void prepare(const QString &saleDate, const QString &receiptNumber, double amount);

    struct WrittenCoupon {
        QString amountText;  // EdImp as confirmed
        qint64 couponId = 0; // CUPONES.Id
    };
    // After the window closed: the coupon it wrote, if one was confirmed and stored.
    std::optional<WrittenCoupon> writtenCoupon() const { return m_written; }

    QLineEdit *EdFec = nullptr;
    QLineEdit *EdFac = nullptr;
    QComboBox *CBTarj = nullptr;
    QLineEdit *EdNTar = nullptr;
    QLineEdit *EdCupon = nullptr;
    QLineEdit *EdImp = nullptr;
    QPushButton *BBConfirmar = nullptr;
    QPushButton *BBCancelar = nullptr;
    QPushButton *BBSalir = nullptr;

    void EdFecExit();
    void EdImpExit();
    void BBConfirmarClick();
    void BBCancelarClick();
    void BBSalirClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    QLineEdit *addBox(const char *name, int maxLength);
    void fillCards();
    void clearBoxes();

    std::optional<WrittenCoupon> m_written;
};
