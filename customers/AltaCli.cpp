#include "customers/AltaCli.h"

#include "app/Aguarde.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
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

TFAltaCli *FAltaCli = nullptr;

namespace {

using customers::SaveRequest;

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

bool leftByOperator(const QEvent *event)
{
    const auto reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

QString integerText(int value)
{
    return QString::number(value);
}

} // namespace

TFAltaCli::TFAltaCli(QWidget *parent)
    : QDialog(parent), m_cliente(DM1->ADOConnection1, QStringLiteral("CLIENTE"), QStringLiteral("Cliente"), this)
{
    setObjectName(QStringLiteral("FAltaCli"));
    setWindowTitle(QStringLiteral("Alta de Clientes"));
    createBoxes();
    clearBoxes();
    CBIVA->setCurrentText(QStringLiteral("CONSUMIDOR FINAL"));
}

TFAltaCli::~TFAltaCli()
{
    if (FAltaCli == this)
        FAltaCli = nullptr;
}

void TFAltaCli::createBoxes()
{
    Label1 = new QLabel(QStringLiteral("ALTA DE CLIENTES"), this);
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
    EdCod = edit("EdCod", 4, false);
    EdCod->setFocusPolicy(Qt::ClickFocus);
    EdCod->installEventFilter(this);
    connect(EdCod, &QLineEdit::textEdited, this, [this] {
        m_origin = SaveRequest::Origin::Typed;
        m_proposed.reset();
    });
    EdApe = edit("EdApe", 50, true);
    EdDir = edit("EdDir", 30, true);
    EdCP = edit("EdCP", 10, true);
    EdLoc = edit("EdLoc", 20, true);
    CBProv = combo("CBProv", provinces, 20);
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
    EdSal = edit("EdSal", 8, false);
    vx::ui::filterAmountKeys(EdSal, true);
    EdObs = edit("EdObs", 50, false);

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                    NavigatorButton::Last);
    DBNavigator1->setDataSource(m_cliente.source);
    DBNavigator1->setMaximumWidth(200);
    connect(DBNavigator1, &vx::ui::DBNavigator::clicked, this, &TFAltaCli::DBNavigator1Click);

    const auto button = [this](const char *name, const QString &caption, void (TFAltaCli::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BBGrabar = button("BBGrabar", QStringLiteral("&Grabar"), &TFAltaCli::BBGrabarClick);
    BBEliminar = button("BBEliminar", QStringLiteral("&Borrar"), &TFAltaCli::BBEliminarClick);
    BBCancel = button("BBCancel", QStringLiteral("&Cancelar"), &TFAltaCli::BLimpiarClick);
    BLimpiar = button("BLimpiar", QStringLiteral("&Limpiar Pantalla"), &TFAltaCli::BLimpiarClick);
    BBSalir = button("BBSalir", QStringLiteral("&Salir"), &TFAltaCli::BBSalirClick);

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
    add(QStringLiteral("Apellido, Nombre"), EdApe, 0, 3);
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
    buttons->addWidget(BBGrabar);
    buttons->addWidget(BBEliminar);
    buttons->addWidget(BBCancel);
    buttons->addWidget(BLimpiar);
    buttons->addStretch(1);
    buttons->addWidget(BBSalir);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(640, 420);
}

bool TFAltaCli::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCod && event->type() == QEvent::MouseButtonPress)
        EdCodClick();
    else if (watched == EdCod && event->type() == QEvent::FocusOut && leftByOperator(event))
        EdCodExit();
    else if (watched == EdFec && event->type() == QEvent::FocusOut && leftByOperator(event))
        EdFecExit();
    return QDialog::eventFilter(watched, event);
}

void TFAltaCli::clearBoxes()
{
    for (vx::ui::Edit *box : {EdCod, EdApe, EdDir, EdCP, EdLoc, EdTel, EdCel, EdMai, EdCUI, EdNDoc, EdFec, EdObs})
        box->clear();
    EdCod->setMaxLength(4);
    CBProv->setCurrentText(QStringLiteral("C.A.B.A."));
    CBIVA->setCurrentText(QStringLiteral("MONOTRIBUTISTA"));
    CBTDoc->setCurrentText(QStringLiteral("D.N.I."));
    EdSal->setMaxLength(8);
    EdSal->setText(QStringLiteral("0"));
    m_origin = SaveRequest::Origin::Typed;
    m_proposed.reset();
}

void TFAltaCli::load(const customers::Customer &c)
{
    const QString code = integerText(c.code);
    EdCod->setMaxLength(std::max(4, int(code.size())));
    EdCod->setText(code);
    EdApe->setText(c.name);
    EdDir->setText(c.address);
    EdCP->setText(c.postcode);
    EdLoc->setText(c.town);
    CBProv->setCurrentText(c.province);
    EdTel->setText(c.phone);
    EdCel->setText(c.mobile);
    EdMai->setText(c.mail);
    CBIVA->setCurrentText(c.taxCondition);
    EdCUI->setText(c.taxNumber);
    CBTDoc->setCurrentText(c.documentType);
    EdNDoc->setText(integerText(c.documentNumber));
    EdFec->setText(c.date.isValid() ? vx::shopformat::formatDate(c.date) : QString());
    // The balance box keeps the value whole, so that loading and saving never changes it.
    EdSal->setMaxLength(32767);
    EdSal->setText(vx::shopformat::formatFixed(c.balance, 2).remove(vx::shopformat::thousandSeparator));
    EdObs->setText(c.observations);
    m_origin = SaveRequest::Origin::Loaded;
    m_proposed.reset();
}

void TFAltaCli::EdCodClick()
{
    clearBoxes();
    try {
        const int next = customers::nextCustomerCode(*DM1->ADOConnection1);
        const QString text = integerText(next);
        // Customer 10 000 needs a fifth digit: the box widens rather than cut it to an existing code.
        EdCod->setMaxLength(std::max(4, int(text.size())));
        EdCod->setText(text);
        m_origin = SaveRequest::Origin::Proposed;
        m_proposed = next;
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

std::optional<int> TFAltaCli::typedCode()
{
    const QString text = EdCod->text().trimmed();
    bool ok = false;
    const int code = text.toInt(&ok);
    if (!ok || code < 1 || code > customers::highestCode) {
        vx::ui::dialogs().showMessage(
            QStringLiteral("El codigo de cliente debe ser un numero entre 1 y %1.").arg(customers::highestCode));
        return std::nullopt;
    }
    return code;
}

void TFAltaCli::EdCodExit()
{
    if (EdCod->text().trimmed().isEmpty() || m_origin == SaveRequest::Origin::Loaded)
        return;
    const std::optional<int> code = typedCode();
    if (!code)
        return;
    try {
        if (const std::optional<customers::Customer> found = customers::findCustomer(*DM1->ADOConnection1, *code)) {
            load(*found);
            vx::ui::dialogs().showMessage(QStringLiteral("Codigo existente..."));
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFAltaCli::EdFecExit()
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

void TFAltaCli::DBNavigator1Click()
{
    vx::Table &table = *m_cliente.table;
    if (!table.active() || table.isEmpty())
        return;
    try {
        customers::Customer c;
        const auto text = [&](const char *field) { return table.fieldByName(QLatin1String(field))->asString(); };
        c.code = table.fieldByName(QStringLiteral("CLICOD"))->asInteger();
        c.name = text("CLIAPE");
        c.address = text("CLIDIR");
        c.postcode = text("CLIC_P");
        c.town = text("CLILOC");
        c.province = text("CLIPRO");
        c.phone = text("CLITEL");
        c.mobile = text("CLICEL");
        c.mail = text("CLIMAIL");
        c.taxCondition = text("CLIIVA");
        c.taxNumber = text("CLICUI");
        c.documentType = text("CLITDOC");
        c.documentNumber = table.fieldByName(QStringLiteral("CLINDOC"))->asInteger();
        c.date = table.fieldByName(QStringLiteral("CLIFEC"))->asDateTime().date();
        c.balance = table.fieldByName(QStringLiteral("CLISAL"))->asFloat();
        c.observations = text("CLIOBS");
        load(c);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

std::optional<customers::Customer> TFAltaCli::fromBoxes()
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
    customers::Customer c;
    c.code = *code;
    c.name = EdApe->text().trimmed();
    c.address = EdDir->text();
    c.postcode = EdCP->text();
    c.town = EdLoc->text();
    c.province = CBProv->currentText();
    c.phone = EdTel->text();
    c.mobile = EdCel->text();
    c.mail = EdMai->text();
    c.taxCondition = CBIVA->currentText();
    c.taxNumber = EdCUI->text();
    c.documentType = CBTDoc->currentText();
    c.documentNumber = document;
    c.date = *date;
    c.balance = *balance;
    c.observations = EdObs->text();
    return c;
}

std::optional<customers::SaveRequest> TFAltaCli::askForSave(const customers::Customer &customer)
{
    vx::Connection &connection = *DM1->ADOConnection1;
    SaveRequest request;
    request.customer = customer;
    request.origin = m_origin == SaveRequest::Origin::Proposed && m_proposed == customer.code
                         ? SaveRequest::Origin::Proposed
                         : (m_origin == SaveRequest::Origin::Loaded ? m_origin : SaveRequest::Origin::Typed);
    const std::optional<customers::Customer> stored = customers::findCustomer(connection, customer.code);
    if (stored && request.origin != SaveRequest::Origin::Proposed) {
        if (!vx::ui::dialogs().confirm(
                this, QStringLiteral("ATENCION: Codigo de Cliente existente.\r\n  Desea modificar los datos?"),
                QStringLiteral("Confirmación")))
            return std::nullopt;
        request.modify = true;
        if (customer.balance != stored->balance &&
            vx::ui::dialogs().confirm(this, QStringLiteral("Modifica el saldo?"), QStringLiteral("Confirmación"))) {
            const std::optional<QString> noted = customers::withBalanceNote(customer.observations, EdFec->text());
            if (!noted) {
                vx::ui::dialogs().showMessage(
                    QStringLiteral("Las observaciones no dejan lugar para la nota del cambio de saldo (50 caracteres). "
                                   "Acortelas y grabe nuevamente."));
                EdObs->setFocus();
                return std::nullopt;
            }
            request.changeBalance = true;
            request.customer.observations = *noted;
        }
    }
    if (const std::optional<int> namesake =
            customers::namesakeCode(connection, customer.name, request.modify ? customer.code : -1)) {
        if (!vx::ui::dialogs().confirm(
                this,
                QStringLiteral("Ya existe un cliente con ese nombre (Codigo %1). Graba igualmente?").arg(*namesake),
                QStringLiteral("Confirmación")))
            return std::nullopt;
    }
    return request;
}

void TFAltaCli::BBGrabarClick()
{
    if (EdNDoc->text().trimmed().isEmpty())
        EdNDoc->setText(QStringLiteral("0"));
    if (EdFec->text().trimmed().isEmpty())
        EdFec->setText(vx::shopformat::formatDate(QDate::currentDate()));
    if (EdSal->text().trimmed().isEmpty())
        EdSal->setText(QStringLiteral("0"));
    if (EdCod->text().trimmed().isEmpty() || EdApe->text().trimmed().isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Falta CODIGO o APELLIDO del cliente..."));
        return;
    }
    const std::optional<customers::Customer> customer = fromBoxes();
    if (!customer)
        return;
    vx::Connection &connection = *DM1->ADOConnection1;
    if (connection.inTransaction()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Archivos ocupados, intente en unos instantes."));
        return;
    }
    // Every question is asked before the transaction begins, so that no other workstation waits
    // on an answer.
    std::optional<SaveRequest> request;
    try {
        request = askForSave(*customer);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    if (!request)
        return;
    aguarde::show();
    customers::SaveResult result;
    try {
        result = customers::saveCustomer(connection, *request);
    } catch (const customers::CustomerError &failure) {
        aguarde::close();
        vx::ui::dialogs().showMessage(failure.message());
        return;
    }
    aguarde::close();
    afterRecording();
    if (result.movedToFreeCode)
        vx::ui::dialogs().showMessage(
            QStringLiteral("Otra estacion grabo un cliente con el Codigo %1 mientras tanto; este cliente se grabo "
                           "con el Codigo %2.")
                .arg(customer->code)
                .arg(result.code));
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso concluido."));
    clearBoxes();
}

void TFAltaCli::BBEliminarClick()
{
    if (EdCod->text().trimmed().isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Falta codigo de cliente..."));
        return;
    }
    const std::optional<int> code = typedCode();
    if (!code)
        return;
    vx::Connection &connection = *DM1->ADOConnection1;
    if (connection.inTransaction()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Archivos ocupados, intente en unos instantes."));
        return;
    }
    try {
        if (!customers::findCustomer(connection, *code)) {
            vx::ui::dialogs().showMessage(QStringLiteral("No existe un cliente con el Codigo %1.").arg(*code));
            return;
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    if (*code == customers::walkInCustomer) {
        vx::ui::dialogs().showMessage(QStringLiteral("Cliente reservado para CONSUMIDOR FINAL."));
        return;
    }
    if (!vx::ui::dialogs().confirm(
            this, QStringLiteral("ATENCION: Codigo de Cliente existente.\r\n  Desea ELIMINAR los datos de este cliente ?"),
            QStringLiteral("Confirmación"))) {
        clearBoxes();
        return;
    }
    try {
        customers::deleteCustomer(connection, *code);
    } catch (const customers::CustomerError &failure) {
        vx::ui::dialogs().showMessage(failure.message());
        return;
    }
    afterRecording();
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso concluido."));
    clearBoxes();
}

void TFAltaCli::afterRecording()
{
    try {
        if (DM1->Clientes->active())
            DM1->Clientes->close();
        if (m_cliente.table->active())
            m_cliente.table->refresh();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFAltaCli::BLimpiarClick()
{
    clearBoxes();
}

void TFAltaCli::BBSalirClick()
{
    if (DM1->Clientes->active())
        DM1->Clientes->close();
    clearBoxes();
    accept();
}

void openAltaCli(TFAltaCli &window)
{
    try {
        window.cliente().open();
        vx::ui::dialogs().showModal(&window);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(&window, failure);
    }
    window.cliente().close();
}
