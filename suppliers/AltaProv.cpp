#include "suppliers/AltaProv.h"

#include "app/Aguarde.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Table.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"
#include "suppliers/SupplierPayment.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFAltaProv *FAltaProv = nullptr;

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
const QString busyMessage = QStringLiteral("Archivos ocupados, intente en unos instantes.");

bool leftByOperator(const QEvent *event)
{
    const auto reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

TFAltaProv::TFAltaProv(QWidget *parent)
    : QDialog(parent),
      m_proveedores(DM1->ADOConnection1, QStringLiteral("PROVEEDORES"), QStringLiteral("ProveedAlta"), this)
{
    setObjectName(QStringLiteral("FAltaProv"));
    setWindowTitle(QStringLiteral("A B M de Proveedores"));
    createBoxes();
    clearBoxes();
}

TFAltaProv::~TFAltaProv()
{
    if (FAltaProv == this)
        FAltaProv = nullptr;
}

void TFAltaProv::createBoxes()
{
    Label1 = new QLabel(QStringLiteral("A B M DE PROVEEDORES"), this);
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
    EdCod = edit("EdCod", 5, false);
    EdCod->setFocusPolicy(Qt::ClickFocus);
    EdCod->installEventFilter(this);
    connect(EdCod, &QLineEdit::textEdited, this, [this] {
        m_proposed.reset();
        m_loaded = false;
    });
    EdApe = edit("EdApe", 50, true);
    EdDir = edit("EdDir", 30, true);
    EdCP = edit("EdCP", 10, true);
    EdLoc = edit("EdLoc", 20, true);
    CBProv = combo("CBProv", provinces, 30);
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
    EdSal = edit("EdSal", 20, false);
    EdSal->setReadOnly(true);
    EdSal->setFocusPolicy(Qt::NoFocus);
    EdObs = edit("EdObs", 50, false);

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                    NavigatorButton::Last);
    DBNavigator1->setDataSource(m_proveedores.source);
    DBNavigator1->setMaximumWidth(200);
    connect(DBNavigator1, &vx::ui::DBNavigator::clicked, this, &TFAltaProv::DBNavigator1Click);

    const auto button = [this](const char *name, const QString &caption, void (TFAltaProv::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BBGrabar = button("BBGrabar", QStringLiteral("&Grabar"), &TFAltaProv::BBGrabarClick);
    BBEliminar = button("BBEliminar", QStringLiteral("&Borrar"), &TFAltaProv::BBEliminarClick);
    BLimpiar = button("BLimpiar", QStringLiteral("&Limpiar Pantalla"), &TFAltaProv::clearBoxes);
    BBSalir = button("BBSalir", QStringLiteral("&Salir"), &TFAltaProv::BBSalirClick);

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
    add(QStringLiteral("Nombre / Razon Social"), EdApe, 0, 3);
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

bool TFAltaProv::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCod && event->type() == QEvent::MouseButtonPress)
        EdCodClick();
    else if (watched == EdCod && event->type() == QEvent::FocusOut && leftByOperator(event))
        EdCodExit();
    else if (watched == EdFec && event->type() == QEvent::FocusOut && leftByOperator(event))
        EdFecExit();
    return QDialog::eventFilter(watched, event);
}

void TFAltaProv::clearBoxes()
{
    for (vx::ui::Edit *box : {EdCod, EdApe, EdDir, EdCP, EdLoc, EdTel, EdCel, EdMai, EdCUI, EdNDoc, EdFec, EdObs})
        box->clear();
    CBProv->setCurrentText(QStringLiteral("C.A.B.A."));
    CBIVA->setCurrentText(QStringLiteral("RESP. INSCRIPTO"));
    CBTDoc->setCurrentText(QStringLiteral("D.N.I."));
    EdSal->setText(QStringLiteral("0,00"));
    m_proposed.reset();
    m_loaded = false;
}

void TFAltaProv::load(const suppliers::Supplier &s)
{
    EdCod->setText(QString::number(s.code));
    EdApe->setText(s.name);
    EdDir->setText(s.address);
    EdCP->setText(s.postcode);
    EdLoc->setText(s.town);
    CBProv->setCurrentText(s.province);
    EdTel->setText(s.phone);
    EdCel->setText(s.mobile);
    EdMai->setText(s.mail);
    CBIVA->setCurrentText(s.taxCondition);
    EdCUI->setText(s.taxNumber);
    CBTDoc->setCurrentText(s.documentType);
    EdNDoc->setText(QString::number(s.documentNumber));
    EdFec->setText(s.date.isValid() ? vx::shopformat::formatDate(s.date) : QString());
    EdSal->setText(vx::shopformat::formatFixed(s.balance, 2));
    EdObs->setText(s.observations);
    m_proposed.reset();
    m_loaded = true;
}

void TFAltaProv::EdCodClick()
{
    clearBoxes();
    try {
        const int next = suppliers::nextSupplierCode(*DM1->ADOConnection1);
        EdCod->setText(QString::number(next));
        m_proposed = next;
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

std::optional<int> TFAltaProv::typedCode()
{
    bool ok = false;
    const int code = EdCod->text().trimmed().toInt(&ok);
    if (!ok || code < 1 || code > suppliers::highestSupplierCode) {
        vx::ui::dialogs().showMessage(QStringLiteral("El código de proveedor debe ser un número entre 1 y %1.")
                                          .arg(suppliers::highestSupplierCode));
        return std::nullopt;
    }
    return code;
}

void TFAltaProv::EdCodExit()
{
    if (EdCod->text().trimmed().isEmpty() || m_loaded || m_proposed)
        return;
    const std::optional<int> code = typedCode();
    if (!code)
        return;
    try {
        if (const std::optional<suppliers::Supplier> found = suppliers::findSupplier(*DM1->ADOConnection1, *code)) {
            load(*found);
            vx::ui::dialogs().showMessage(QStringLiteral("Codigo existente..."));
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFAltaProv::EdFecExit()
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

void TFAltaProv::DBNavigator1Click()
{
    vx::Table &table = *m_proveedores.table;
    if (!table.active() || table.isEmpty())
        return;
    try {
        if (const std::optional<suppliers::Supplier> found = suppliers::findSupplier(
                *DM1->ADOConnection1, table.fieldByName(QStringLiteral("CLICOD"))->asInteger()))
            load(*found);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

std::optional<suppliers::Supplier> TFAltaProv::fromBoxes()
{
    const std::optional<int> code = typedCode();
    if (!code)
        return std::nullopt;
    bool ok = false;
    const QString documentText = EdNDoc->text().trimmed();
    const int document = documentText.isEmpty() ? 0 : documentText.toInt(&ok);
    if ((!documentText.isEmpty() && !ok) || document < 0) {
        vx::ui::dialogs().showMessage(vx::shopformat::notANumberMessage(EdNDoc->text()));
        EdNDoc->setFocus();
        return std::nullopt;
    }
    const QString dateText = EdFec->text().trimmed();
    const std::optional<QDate> date =
        dateText.isEmpty() ? std::optional<QDate>(QDate::currentDate()) : vx::shopformat::parseDate(dateText);
    if (!date) {
        vx::ui::dialogs().showMessage(vx::shopformat::notADateMessage(dateText));
        EdFec->setFocus();
        return std::nullopt;
    }
    suppliers::Supplier s;
    s.code = *code;
    s.name = EdApe->text().trimmed();
    s.address = EdDir->text();
    s.postcode = EdCP->text();
    s.town = EdLoc->text();
    s.province = CBProv->currentText();
    s.phone = EdTel->text();
    s.mobile = EdCel->text();
    s.mail = EdMai->text();
    s.taxCondition = CBIVA->currentText();
    s.taxNumber = EdCUI->text();
    s.documentType = CBTDoc->currentText();
    s.documentNumber = document;
    s.date = *date;
    s.observations = EdObs->text();
    return s;
}

void TFAltaProv::BBGrabarClick()
{
    if (EdCod->text().trimmed().isEmpty() || EdApe->text().trimmed().isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Falta CODIGO o NOMBRE del proveedor..."));
        return;
    }
    const std::optional<suppliers::Supplier> supplier = fromBoxes();
    if (!supplier)
        return;
    vx::Connection &connection = *DM1->ADOConnection1;
    if (connection.inTransaction()) {
        vx::ui::dialogs().showMessage(busyMessage);
        return;
    }
    // The question is asked before the transaction begins, so that no other workstation waits on it.
    suppliers::SupplierSave request{*supplier, m_proposed == supplier->code, false};
    if (!request.proposed) {
        try {
            if (suppliers::findSupplier(connection, supplier->code)) {
                if (!vx::ui::dialogs().confirm(
                        this, QStringLiteral("ATENCION: Codigo de Proveedor existente.\r\n  Desea modificar los datos?"),
                        QStringLiteral("Confirmación")))
                    return;
                request.modify = true;
            }
        } catch (const std::exception &failure) {
            vx::ui::dialogs().showException(this, failure);
            return;
        }
    }
    aguarde::show();
    suppliers::SupplierSaved saved;
    try {
        saved = suppliers::saveSupplier(connection, request);
    } catch (const suppliers::PaymentError &failure) {
        aguarde::close();
        vx::ui::dialogs().showMessage(failure.message());
        return;
    }
    aguarde::close();
    afterRecording();
    if (saved.movedToFreeCode)
        vx::ui::dialogs().showMessage(QStringLiteral("Otra estacion grabo un proveedor con el Codigo %1 mientras tanto; "
                                                     "este proveedor se grabo con el Codigo %2.")
                                          .arg(supplier->code)
                                          .arg(saved.code));
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso concluido."));
    clearBoxes();
}

void TFAltaProv::BBEliminarClick()
{
    if (EdCod->text().trimmed().isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Falta codigo de proveedor..."));
        return;
    }
    const std::optional<int> code = typedCode();
    if (!code)
        return;
    vx::Connection &connection = *DM1->ADOConnection1;
    if (connection.inTransaction()) {
        vx::ui::dialogs().showMessage(busyMessage);
        return;
    }
    try {
        if (!suppliers::findSupplier(connection, *code)) {
            vx::ui::dialogs().showMessage(QStringLiteral("No existe un proveedor con el Código %1.").arg(*code));
            return;
        }
        // Told before the question: there is nothing to decide about a supplier with documents.
        if (const std::optional<QString> use = suppliers::supplierUse(connection, *code)) {
            vx::ui::dialogs().showMessage(*use);
            return;
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    if (!vx::ui::dialogs().confirm(
            this, QStringLiteral("ATENCION: Codigo de Proveedor existente.\r\n  Desea ELIMINAR los datos de este proveedor ?"),
            QStringLiteral("Confirmación")))
        return;
    try {
        suppliers::deleteSupplier(connection, *code);
    } catch (const suppliers::PaymentError &failure) {
        vx::ui::dialogs().showMessage(failure.message());
        return;
    }
    afterRecording();
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso concluido."));
    clearBoxes();
}

void TFAltaProv::afterRecording()
{
    try {
        if (m_proveedores.table->active())
            m_proveedores.table->refresh();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFAltaProv::BBSalirClick()
{
    clearBoxes();
    accept();
}

void openAltaProv(TFAltaProv &window)
{
    try {
        window.proveedores().open();
        vx::ui::dialogs().showModal(&window);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(&window, failure);
    }
    window.proveedores().close();
}
