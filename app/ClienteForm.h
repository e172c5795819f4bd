#pragma once

#include "app/ClienteRecord.h"
#include "app/OwnCursor.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <variant>

class QComboBox;
class QLabel;
class QPushButton;

namespace vx::ui {
class DBNavigator;
class Edit;
} // namespace vx::ui

namespace app {

// What tells the customer window from the supplier window; everything else they share.
struct ClienteFormLook {
    QString objectName;
    QString caption;
    QString heading;
    QString table;       // CLIENTE or PROVEEDORES
    QString cursorName;  // the window's own cursor on it
    QString nameCaption; // "Apellido, Nombre" / "Nombre / Razon Social"
    int codeLength = 4;  // digits typed; a longer code loaded or proposed widens the box
    int provinceLength = 20;
    QString taxDefault;
    // The balance is typed (customers) or only shown, moved by documents and payments (suppliers).
    bool balanceTyped = true;
    bool cancelButton = true;
    QString codeRangeMessage;   // %1: the highest code
    QString missingCodeMessage; // delete without a code
    QString unknownCodeMessage; // %1: the code
    QString deleteQuestion;
    bool clearOnDeclinedDelete = true;
};

// The maintenance window of a CLIENTE-shaped file: the boxes and their lists, a navigator over
// the window's own cursor, filling the boxes from a row and reading a row back from them, the
// code proposed or looked up, and the delete with its question. What saving asks and stores is
// the file's own.
class ClienteForm : public QDialog {
    Q_OBJECT
public:
    ClienteForm(vx::Connection *connection, const ClienteFormLook &look, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    vx::ui::Edit *EdCod = nullptr;
    vx::ui::Edit *EdApe = nullptr;
    vx::ui::Edit *EdDir = nullptr;
    vx::ui::Edit *EdCP = nullptr;
    vx::ui::Edit *EdLoc = nullptr;
    QComboBox *CBProv = nullptr;
    vx::ui::Edit *EdTel = nullptr;
    vx::ui::Edit *EdCel = nullptr;
    vx::ui::Edit *EdMai = nullptr;
    QComboBox *CBIVA = nullptr;
    vx::ui::Edit *EdCUI = nullptr;
    QComboBox *CBTDoc = nullptr;
    vx::ui::Edit *EdNDoc = nullptr;
    vx::ui::Edit *EdFec = nullptr;
    vx::ui::Edit *EdSal = nullptr;
    vx::ui::Edit *EdObs = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    QPushButton *BBGrabar = nullptr;
    QPushButton *BBEliminar = nullptr;
    QPushButton *BBCancel = nullptr; // customers only
    QPushButton *BLimpiar = nullptr;
    QPushButton *BBSalir = nullptr;

    void EdCodClick();
    void EdCodExit();
    void EdFecExit();
    void DBNavigator1Click();
    virtual void BBGrabarClick() = 0;
    void BBEliminarClick();
    void BLimpiarClick();
    void BBSalirClick();

    // Every box back to its default.
    void clearBoxes();

protected:
    enum class Origin { Typed, Proposed, Loaded };

    bool eventFilter(QObject *watched, QEvent *event) override;

    vx::Connection &connection() { return *m_connection; }
    vx::Table &ownTable() { return *m_own.table; }
    Origin origin() const { return m_origin; }
    // The code in the box is the one the window proposed, untouched.
    bool codeProposed(int code) const { return m_origin == Origin::Proposed && m_proposed == code; }

    // The checks every save makes first: empty document number, date and balance filled in, code
    // and name present (else `missingMessage`), every box converting, no recording of this
    // connection open. The row the boxes describe, or nothing with the operator told.
    std::optional<ClienteRecord> boxesForSave(const QString &missingMessage);
    // What a save's recording gives back: the row stored, or the failure's message.
    using SaveOutcome = std::variant<ClienteSaved, QString>;
    // Runs the save's recording under the wait window, then tells the operator: the code it
    // moved to (`movedMessage`, %1 the code typed, %2 the code stored), "Proceso concluido.", and
    // clears the boxes; a failure is told and the boxes keep what was typed.
    void storeAndTell(int typedCode, const std::function<SaveOutcome()> &store, const QString &movedMessage);
    // After a save or delete: the shared cursors let go, the navigator's rows read again.
    void afterRecording();
    // Shows a failure nobody else handled.
    void showFailure(const std::exception &failure);

    // Why the row may not be deleted, told before the question; nothing when it may.
    virtual std::optional<QString> deleteRefusal(int code) = 0;
    // Deletes the row in its own transaction; the failure's message, or nothing when done.
    virtual std::optional<QString> removeStored(int code) = 0;
    // Lets go of the data module's cursors on the file, if the window used them.
    virtual void releaseShared() {}

private:
    void createBoxes();
    void load(const ClienteRecord &record);
    std::optional<ClienteRecord> fromBoxes();
    std::optional<int> typedCode();

    vx::Connection *m_connection;
    ClienteFormLook m_look;
    OwnCursor m_own;
    Origin m_origin = Origin::Typed;
    std::optional<int> m_proposed;
};

// The menu command: opens the window's own cursor, shows it modally and closes the cursor after it.
void openClienteForm(ClienteForm &window, vx::Table &ownCursor);

} // namespace app
