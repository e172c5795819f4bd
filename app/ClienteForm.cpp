#include "app/ClienteForm.h"

#include "app/Aguarde.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/Table.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {

const QStringList provinces{
    QStringLiteral("BUENOS AIRES"), QStringLiteral("C.A.B.A."),     QStringLiteral("CATAMARCA"),
    QStringLiteral("CHACO"),        QStringLiteral("CHUBUT"),       QStringLiteral("CORDOBA"),
    QStringLiteral("CORRIENTES"),   QStringLiteral("ENTRE RIOS"),   QStringLiteral("FORMOSA"),
    QStringLiteral("JUJUY"),        QStringLiteral("LA PAMPA"),     QStringLiteral("LA RIOJA"),
    QStringLiteral("MENDOZA"),      QStringLiteral("MISIONES"),     QStringLiteral("NEUQUEN"),
    QStringLiteral("RIO NEGRO"),    QStringLiteral("SALTA"),        QStringLiteral("SAN JUAN"),
    QStringLiteral("SAN LUIS"),     QStringLiteral("SANTA CRUZ"),   QStringLiteral("SANTA FE"),
    QStringLiteral("SANTIAGO DEL ESTERO"), QStringLiteral("TIERRA DEL FUEGO"), QStringLiteral("TUCUMAN"),
    QStringLiteral("OTRO")};
const QStringList taxConditions{QStringLiteral("MONOTRIBUTISTA"),   QStringLiteral("RESP. INSCRIPTO"),
                                QStringLiteral("RESP. NO INSCRIPTO"), QStringLiteral("CONSUMIDOR FINAL"),
                                QStringLiteral("RESP. EXENTO"),     QStringLiteral("OTRO")};
const QStringList documentTypes{QStringLiteral("C.I."), QStringLiteral("D.N.I."), QStringLiteral("D.U."),
                                QStringLiteral("L.C."), QStringLiteral("L.E."),   QStringLiteral("PASAP"),
                                QStringLiteral("OTRO")};
// The typed balance box of a customer; a loaded balance is kept whole however long.
constexpr int balanceLength = 8;

bool leftByOperator(const QEvent *event)
{
    const auto reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

ClienteForm::ClienteForm(vx::Connection *connection, const ClienteFormLook &look, QWidget *parent)
    : QDialog(parent), m_connection(connection), m_look(look), m_own(connection, look.table, look.cursorName, this)
{
    setObjectName(look.objectName);
    setWindowTitle(look.caption);
    createBoxes();
    clearBoxes();
}

void ClienteForm::createBoxes()
{
    Label1 = new QLabel(m_look.heading, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    heading.setBold(true);
    Label1->setFont(heading);

    const auto edit = [this](const char *name, int limit, bool upper) {
        auto *box = new vx::ui::Edit(limit, upper, this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    const auto combo = [this](const char *name, const QStringList &items, int limit) {
        auto *box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(items);
        box->lineEdit()->setMaxLength(limit);
        vx::ui::setUpperCase(box->lineEdit(), true);
        return box;
    };
    EdCod = edit("EdCod", m_look.codeLength, false);
    EdCod->setFocusPolicy(Qt::ClickFocus);
    EdCod->installEventFilter(this);
    connect(EdCod, &QLineEdit::textEdited, this, [this] {
        m_origin = Origin::Typed;
        m_proposed.reset();
    });
    EdApe = edit("EdApe", 50, true);
    EdDir = edit("EdDir", 30, true);
    EdCP = edit("EdCP", 10, true);
    EdLoc = edit("EdLoc", 20, true);
    CBProv = combo("CBProv", provinces, m_look.provinceLength);
    EdTel = edit("EdTel", 30, true);
    EdCel = edit("EdCel", 20, true);
    EdMai = edit("EdMai", 50, false);
    CBIVA = combo("CBIVA", taxConditions, 50);
    EdCUI = edit("EdCUI", 13, false);
    CBTDoc = combo("CBTDoc", documentTypes, 6);
    CBTDoc->setFocusPolicy(Qt::ClickFocus);
    EdNDoc = edit("EdNDoc", 10, true);
    vx::ui::filterAmountKeys(EdNDoc);
    EdFec = edit("EdFec", 10, false);
    vx::ui::filterDateKeys(EdFec);
    EdFec->installEventFilter(this);
    EdSal = edit("EdSal", balanceLength, false);
    if (m_look.balanceTyped) {
        vx::ui::filterAmountKeys(EdSal, true);
    } else {
        EdSal->setReadOnly(true);
        EdSal->setFocusPolicy(Qt::NoFocus);
    }
    EdObs = edit("EdObs", 50, false);

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                    NavigatorButton::Last);
    DBNavigator1->setDataSource(m_own.source);
    DBNavigator1->setMaximumWidth(200);
    connect(DBNavigator1, &vx::ui::DBNavigator::clicked, this, &ClienteForm::DBNavigator1Click);

    const auto button = [this](const char *name, const QString &caption, const auto &handler) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BBGrabar = button("BBGrabar", QStringLiteral("&Grabar"), [this] { BBGrabarClick(); });
    BBEliminar = button("BBEliminar", QStringLiteral("&Borrar"), [this] { BBEliminarClick(); });
    if (m_look.cancelButton)
        BBCancel = button("BBCancel", QStringLiteral("&Cancelar"), [this] { BLimpiarClick(); });
    BLimpiar = button("BLimpiar", QStringLiteral("&Limpiar Pantalla"), [this] { BLimpiarClick(); });
    BBSalir = button("BBSalir", QStringLiteral("&Salir"), [this] { BBSalirClick(); });

    auto *grid = new QGridLayout;
    int row = 0;
    const auto add = [&](const QString &caption, QWidget *box, int column = 0, int span = 1) {
        grid->addWidget(new QLabel(caption, this), row, column);
        grid->addWidget(box, row, column + 1, 1, span);
    };
    add(QStringLiteral("Codigo"), EdCod);
    EdCod->setMaximumWidth(80);
    grid->addWidget(DBNavigator1, row, 2, 1, 2, Qt::AlignRight);
    ++row;
    add(m_look.nameCaption, EdApe, 0, 3);
    ++row;
    add(QStringLiteral("Direccion"), EdDir, 0, 3);
    ++row;
    add(QStringLiteral("Cod..Pos."), EdCP);
    add(QStringLiteral("Localidad"), EdLoc, 2);
    ++row;
    add(QStringLiteral("Provincia"), CBProv);
    add(QStringLiteral("Telefono/s"), EdTel, 2);
    ++row;
    add(QStringLiteral("Celular/es"), EdCel);
    add(QStringLiteral("E-Mail"), EdMai, 2);
    ++row;
    add(QStringLiteral("I.V.A."), CBIVA);
    add(QStringLiteral("C.U.I.T."), EdCUI, 2);
    ++row;
    add(QStringLiteral("T. Doc"), CBTDoc);
    add(QStringLiteral("No. Doc."), EdNDoc, 2);
    ++row;
    add(QStringLiteral("Fecha"), EdFec);
    add(QStringLiteral("Saldo"), EdSal, 2);
    ++row;
    add(QStringLiteral("Observaciones"), EdObs, 0, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {BBGrabar, BBEliminar, BBCancel, BLimpiar})
        if (b)
            buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(BBSalir);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(640, 420);
}

bool ClienteForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCod && event->type() == QEvent::MouseButtonPress)
        EdCodClick();
    else if (watched == EdCod && event->type() == QEvent::FocusOut && leftByOperator(event))
        EdCodExit();
    else if (watched == EdFec && event->type() == QEvent::FocusOut && leftByOperator(event))
        EdFecExit();
    return QDialog::eventFilter(watched, event);
}

void ClienteForm::clearBoxes()
{
    for (vx::ui::Edit *box : {EdCod, EdApe, EdDir, EdCP, EdLoc, EdTel, EdCel, EdMai, EdCUI, EdNDoc, EdFec, EdObs})
        box->clear();
    EdCod->setMaxLength(m_look.codeLength);
    CBProv->setCurrentText(QStringLiteral("C.A.B.A."));
    CBIVA->setCurrentText(m_look.taxDefault);
    CBTDoc->setCurrentText(QStringLiteral("D.N.I."));
    EdSal->setMaxLength(balanceLength);
    EdSal->setText(m_look.balanceTyped ? QStringLiteral("0") : QStringLiteral("0,00"));
    m_origin = Origin::Typed;
    m_proposed.reset();
}

void ClienteForm::load(const ClienteRecord &r)
{
    const QString code = QString::number(r.code);
    EdCod->setMaxLength(std::max(m_look.codeLength, int(code.size())));
    EdCod->setText(code);
    EdApe->setText(r.name);
    EdDir->setText(r.address);
    EdCP->setText(r.postcode);
    EdLoc->setText(r.town);
    CBProv->setCurrentText(r.province);
    EdTel->setText(r.phone);
    EdCel->setText(r.mobile);
    EdMai->setText(r.mail);
    CBIVA->setCurrentText(r.taxCondition);
    EdCUI->setText(r.taxNumber);
    CBTDoc->setCurrentText(r.documentType);
    EdNDoc->setText(QString::number(r.documentNumber));
    EdFec->setText(r.date.isValid() ? vx::shopformat::formatDate(r.date) : QString());
    // A typed balance box keeps the value whole and ungrouped, so that loading and saving never
    // changes it; a balance only shown reads best grouped.
    QString balance = vx::shopformat::formatFixed(r.balance, 2);
    if (m_look.balanceTyped)
        balance.remove(vx::shopformat::thousandSeparator);
    EdSal->setMaxLength(32767);
    EdSal->setText(balance);
    EdObs->setText(r.observations);
    m_origin = Origin::Loaded;
    m_proposed.reset();
}

void ClienteForm::EdCodClick()
{
    clearBoxes();
    try {
        const int next = nextClienteCode(connection(), m_look.table);
        const QString text = QString::number(next);
        // Code 10 000 needs a fifth digit: the box widens rather than cut it to an existing code.
        EdCod->setMaxLength(std::max(m_look.codeLength, int(text.size())));
        EdCod->setText(text);
        m_origin = Origin::Proposed;
        m_proposed = next;
    } catch (const std::exception &failure) {
        showFailure(failure);
    }
}

std::optional<int> ClienteForm::typedCode()
{
    // Codes are stored in small integer columns elsewhere (PAGOS.COBPRO, sales).
    constexpr int highestCode = 32767;
    bool ok = false;
    const int code = EdCod->text().trimmed().toInt(&ok);
    if (!ok || code < 1 || code > highestCode) {
        vx::ui::dialogs().showMessage(m_look.codeRangeMessage.arg(highestCode));
        return std::nullopt;
    }
    return code;
}

void ClienteForm::EdCodExit()
{
    // A code loaded or just proposed needs no looking up.
    if (EdCod->text().trimmed().isEmpty() || m_origin != Origin::Typed)
        return;
    const std::optional<int> code = typedCode();
    if (!code)
        return;
    try {
        if (const std::optional<ClienteRecord> found = findCliente(connection(), m_look.table, *code)) {
            load(*found);
            vx::ui::dialogs().showMessage(QStringLiteral("Codigo existente..."));
        }
    } catch (const std::exception &failure) {
        showFailure(failure);
    }
}

void ClienteForm::EdFecExit()
{
    const QString text = EdFec->text().trimmed();
    if (text.isEmpty()) {
        EdFec->setText(vx::shopformat::formatDate(QDate::currentDate()));
        return;
    }
    if (const std::optional<QDate> date = vx::shopformat::parseDate(text))
        EdFec->setText(vx::shopformat::formatDate(*date));
    else
        vx::ui::dialogs().showMessage(vx::shopformat::notADateMessage(text));
}

void ClienteForm::DBNavigator1Click()
{
    vx::Table &table = ownTable();
    if (!table.active() || table.isEmpty())
        return;
    try {
        load(clienteAt(table));
    } catch (const std::exception &failure) {
        showFailure(failure);
    }
}

std::optional<ClienteRecord> ClienteForm::fromBoxes()
{
    const std::optional<int> code = typedCode();
    if (!code)
        return std::nullopt;
    bool ok = false;
    const int document = EdNDoc->text().trimmed().toInt(&ok);
    if (!ok || document < 0) {
        vx::ui::dialogs().showMessage(vx::shopformat::notANumberMessage(EdNDoc->text()));
        EdNDoc->setFocus();
        return std::nullopt;
    }
    const std::optional<double> balance = vx::shopformat::parseNumber(EdSal->text());
    if (!balance) {
        vx::ui::dialogs().showMessage(vx::shopformat::notANumberMessage(EdSal->text()));
        EdSal->setFocus();
        return std::nullopt;
    }
    const std::optional<QDate> date = vx::shopformat::parseDate(EdFec->text());
    if (!date) {
        vx::ui::dialogs().showMessage(vx::shopformat::notADateMessage(EdFec->text()));
        EdFec->setFocus();
        return std::nullopt;
    }
    ClienteRecord r;
    r.code = *code;
    r.name = EdApe->text().trimmed();
    r.address = EdDir->text();
    r.postcode = EdCP->text();
    r.town = EdLoc->text();
    r.province = CBProv->currentText();
    r.phone = EdTel->text();
    r.mobile = EdCel->text();
    r.mail = EdMai->text();
    r.taxCondition = CBIVA->currentText();
    r.taxNumber = EdCUI->text();
    r.documentType = CBTDoc->currentText();
    r.documentNumber = document;
    r.date = *date;
    r.balance = *balance;
    r.observations = EdObs->text();
    return r;
}

std::optional<ClienteRecord> ClienteForm::boxesForSave(const QString &missingMessage)
{
    if (EdNDoc->text().trimmed().isEmpty())
        EdNDoc->setText(QStringLiteral("0"));
    if (EdFec->text().trimmed().isEmpty())
        EdFec->setText(vx::shopformat::formatDate(QDate::currentDate()));
    if (EdSal->text().trimmed().isEmpty())
        EdSal->setText(QStringLiteral("0"));
    if (EdCod->text().trimmed().isEmpty() || EdApe->text().trimmed().isEmpty()) {
        vx::ui::dialogs().showMessage(missingMessage);
        return std::nullopt;
    }
    std::optional<ClienteRecord> record = fromBoxes();
    if (record && connection().inTransaction()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Archivos ocupados, intente en unos instantes."));
        return std::nullopt;
    }
    return record;
}

void ClienteForm::storeAndTell(int typedCode, const std::function<SaveOutcome()> &store, const QString &movedMessage)
{
    aguarde::show();
    const SaveOutcome outcome = store();
    aguarde::close();
    if (const QString *failure = std::get_if<QString>(&outcome)) {
        vx::ui::dialogs().showMessage(*failure);
        return;
    }
    const ClienteSaved &saved = std::get<ClienteSaved>(outcome);
    afterRecording();
    if (saved.movedToFreeCode)
        vx::ui::dialogs().showMessage(movedMessage.arg(typedCode).arg(saved.code));
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso concluido."));
    clearBoxes();
}

void ClienteForm::BBEliminarClick()
{
    if (EdCod->text().trimmed().isEmpty()) {
        vx::ui::dialogs().showMessage(m_look.missingCodeMessage);
        return;
    }
    const std::optional<int> code = typedCode();
    if (!code)
        return;
    if (connection().inTransaction()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Archivos ocupados, intente en unos instantes."));
        return;
    }
    try {
        if (clienteRowOf(connection(), m_look.table, *code) < 0) {
            vx::ui::dialogs().showMessage(m_look.unknownCodeMessage.arg(*code));
            return;
        }
        // Told before the question: there is nothing to decide about a row that must stay.
        if (const std::optional<QString> refusal = deleteRefusal(*code)) {
            vx::ui::dialogs().showMessage(*refusal);
            return;
        }
    } catch (const std::exception &failure) {
        showFailure(failure);
        return;
    }
    if (!vx::ui::dialogs().confirm(this, m_look.deleteQuestion, QStringLiteral("Confirmación"))) {
        if (m_look.clearOnDeclinedDelete)
            clearBoxes();
        return;
    }
    if (const std::optional<QString> failure = removeStored(*code)) {
        vx::ui::dialogs().showMessage(*failure);
        return;
    }
    afterRecording();
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso concluido."));
    clearBoxes();
}

void ClienteForm::afterRecording()
{
    try {
        releaseShared();
        if (ownTable().active())
            ownTable().refresh();
    } catch (const std::exception &failure) {
        showFailure(failure);
    }
}

void ClienteForm::showFailure(const std::exception &failure)
{
    vx::ui::dialogs().showException(this, failure);
}

void ClienteForm::BLimpiarClick()
{
    clearBoxes();
}

void ClienteForm::BBSalirClick()
{
    releaseShared();
    clearBoxes();
    accept();
}

void openClienteForm(ClienteForm &window, vx::Table &ownCursor)
{
    try {
        ownCursor.open();
        vx::ui::dialogs().showModal(&window);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(&window, failure);
    }
    ownCursor.close();
}

} // namespace app
