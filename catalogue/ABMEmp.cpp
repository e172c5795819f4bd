#include "catalogue/ABMEmp.h"

#include "app/Aguarde.h"
#include "catalogue/BoxExit.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFCatalogo::TFCatalogo(const catalogue::CatalogueKind &kind, vx::Table *table, vx::DataSource *source,
                       QWidget *parent)
    : QDialog(parent), m_kind(kind), m_table(table)
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    createControls();
    DBGrid1->setDataSource(source);
    DBNavigator1->setDataSource(source);
}

void TFCatalogo::createControls()
{
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    vx::ui::GridColumn code{m_kind.codeField, QStringLiteral("Codigo"), 6};
    code.readOnly = true;
    DBGrid1->setColumns({code, {m_kind.descField, m_kind.gridTitle, 30}});

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                    NavigatorButton::Last | NavigatorButton::Cancel | NavigatorButton::Refresh);
    connect(DBNavigator1, &vx::ui::DBNavigator::clicked, this, &TFCatalogo::DBNavigator1Click);

    CB1 = new QComboBox(this);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->addItems({QStringLiteral("Codigo"), QStringLiteral("Descripcion")});
    CB1->setCurrentText(m_kind.closeSearchField);
    CB1->installEventFilter(this);
    EdBus = new vx::ui::Edit(20, true, this);
    EdBus->setObjectName(QStringLiteral("EdBus"));
    EdBus->installEventFilter(this);
    BitBtn1 = new QPushButton(QStringLiteral("..."), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QStringLiteral("Buscar"));
    BitBtn1->setMaximumWidth(36);
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TFCatalogo::BitBtn1Click);

    EdCod = new vx::ui::Edit(3, true, this);
    EdCod->setObjectName(QStringLiteral("EdCod"));
    EdCod->installEventFilter(this);
    connect(EdCod, &QLineEdit::textEdited, this, [this] { m_proposed.reset(); });
    EdDes = new vx::ui::Edit(30, true, this);
    EdDes->setObjectName(QStringLiteral("EdDes"));

    const auto button = [this](const char *name, const QString &caption, void (TFCatalogo::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BGrabar = button("BGrabar", QStringLiteral("&Grabar"), &TFCatalogo::BGrabarClick);
    BEliminar = button("BEliminar", QStringLiteral("&eliminar"), &TFCatalogo::BEliminarClick);
    BCerrar = button("BCerrar", QStringLiteral("&cerrar"), &TFCatalogo::BCerrarClick);

    auto *searchLine = new QHBoxLayout;
    searchLine->addWidget(new QLabel(QStringLiteral("Buscar por:"), this));
    searchLine->addWidget(CB1);
    searchLine->addWidget(new QLabel(QStringLiteral("Igual a"), this));
    searchLine->addWidget(EdBus, 1);
    searchLine->addWidget(BitBtn1);

    auto *entry = new QGroupBox(this);
    LabNuevo = new QLabel(m_kind.newCaption, entry);
    LabNuevo->setObjectName(QStringLiteral("LabNuevo"));
    auto *entryLine = new QGridLayout(entry);
    entryLine->addWidget(LabNuevo, 0, 0, 1, 2);
    entryLine->addWidget(new QLabel(QStringLiteral("Codigo"), entry), 1, 0);
    entryLine->addWidget(new QLabel(QStringLiteral("Descripcion"), entry), 1, 1);
    entryLine->addWidget(EdCod, 2, 0);
    entryLine->addWidget(EdDes, 2, 1);
    entryLine->setColumnStretch(1, 1);
    EdCod->setMaximumWidth(70);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BGrabar);
    buttons->addWidget(BEliminar);
    buttons->addWidget(BCerrar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(searchLine);
    layout->addWidget(entry);
    layout->addLayout(buttons);
    resize(460, 480);
}

bool TFCatalogo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCod && event->type() == QEvent::MouseButtonPress)
        EdCodClick();
    else if (watched == EdCod && event->type() == QEvent::FocusOut &&
             catalogue::leftByOperator(static_cast<QFocusEvent *>(event)))
        EdCodExit();
    else if (watched == CB1 && event->type() == QEvent::FocusOut &&
             catalogue::leftByOperator(static_cast<QFocusEvent *>(event)))
        CB1Exit();
    else if (watched == EdBus && event->type() == QEvent::KeyRelease)
        EdBusKeyUp();
    return QDialog::eventFilter(watched, event);
}

void TFCatalogo::EdCodClick()
{
    try {
        if (!m_table->active())
            m_table->open();
        m_table->setIndexFieldNames(m_kind.codeField);
        m_table->last();
        const int next = catalogue::nextCode(*m_table->connection(), m_kind);
        const QString text = QString::number(next);
        // A thousandth brand needs a fourth digit: the box widens rather than cut it to "100".
        EdCod->setMaxLength(std::max(EdCod->maxLength(), int(text.size())));
        EdCod->setText(text);
        EdDes->clear();
        m_proposed = next;
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFCatalogo::EdCodExit()
{
    EdCod->setText(catalogue::padCode(m_kind, EdCod->text()));
    if (EdCod->text().isEmpty())
        return;
    const std::optional<int> code = catalogue::codeOf(EdCod->text());
    if (!code) {
        vx::ui::dialogs().showMessage(vx::shopformat::notANumberMessage(EdCod->text()));
        return;
    }
    try {
        if (!m_table->active())
            m_table->open();
        m_table->first();
        if (m_table->locate(m_kind.codeField, double(*code))) {
            EdDes->setText(m_table->fieldByName(m_kind.descField)->asString());
            vx::ui::dialogs().showMessage(QStringLiteral("Codigo Existente..."));
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFCatalogo::CB1Exit()
{
    if (!m_kind.sortOnSearchField || !m_table->active())
        return;
    try {
        m_table->setIndexFieldNames(CB1->currentText() == QLatin1String("Codigo") ? m_kind.codeField : m_kind.descField);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFCatalogo::EdBusKeyUp()
{
    search();
}

void TFCatalogo::BitBtn1Click()
{
    search();
}

void TFCatalogo::search()
{
    const QString text = EdBus->text();
    if (text.isEmpty() || !m_table->active())
        return;
    try {
        if (CB1->currentText() == QLatin1String("Codigo")) {
            // Codes are numbers: the text names one code, "007" the same as "7".
            if (const std::optional<int> code = catalogue::codeOf(text))
                m_table->locate(m_kind.codeField, double(*code));
        } else {
            m_table->locate(m_kind.descField, text, vx::LocateOption::PartialKey);
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFCatalogo::BGrabarClick()
{
    try {
        if (!m_table->active())
            m_table->open();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    if (EdCod->text().trimmed().isEmpty() || EdDes->text().trimmed().isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Faltan datos de Empresa..."));
        return;
    }
    const std::optional<int> code = catalogue::codeOf(EdCod->text());
    if (!code) {
        vx::ui::dialogs().showMessage(vx::shopformat::notANumberMessage(EdCod->text()));
        EdCod->setFocus();
        return;
    }
    const bool proposed = m_proposed && *m_proposed == *code;
    catalogue::SavedEntry saved;
    try {
        saved = catalogue::saveCatalogueEntry(*m_table->connection(), m_kind, *code, EdDes->text().trimmed(), proposed);
    } catch (const catalogue::CatalogueError &failure) {
        vx::ui::dialogs().showMessage(failure.message());
        return;
    }
    EdCod->clear();
    EdDes->clear();
    m_proposed.reset();
    try {
        m_table->refresh();
        m_table->locate(m_kind.codeField, double(saved.code));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    if (saved.movedToFreeCode)
        vx::ui::dialogs().showMessage(
            QStringLiteral("Otra estacion grabo el codigo %1 mientras tanto; se grabo con el Codigo %2.")
                .arg(*code)
                .arg(saved.code));
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado..."));
}

void TFCatalogo::BEliminarClick()
{
    if (!m_table->active() || m_table->isEmpty())
        return;
    int code = 0;
    try {
        code = m_table->fieldByName(m_kind.codeField)->asInteger();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    if (!vx::ui::dialogs().confirm(this, QStringLiteral("Desea eliminar este registro..?"), QStringLiteral("Confirmación")))
        return;
    aguarde::show();
    try {
        catalogue::deleteCatalogueEntry(*m_table->connection(), m_kind, code);
    } catch (const catalogue::CatalogueError &failure) {
        aguarde::close();
        vx::ui::dialogs().showMessage(failure.message());
        return;
    }
    try {
        m_table->close();
        m_table->open();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    aguarde::close();
}

void TFCatalogo::DBNavigator1Click()
{
    if (!m_kind.upperCaseOnNavigate || !m_table->active() || m_table->isEmpty())
        return;
    vx::Field *field = DBGrid1->columnField(DBGrid1->currentIndex().isValid() ? DBGrid1->currentIndex().column() : 1);
    if (!field || field->readOnly() || field->dataType() != vx::FieldType::String)
        return;
    const QString text = field->asString();
    if (text.isEmpty() || text == text.toUpper())
        return;
    try {
        m_table->edit();
        field->setAsString(text.toUpper());
        m_table->post();
    } catch (const std::exception &failure) {
        if (m_table->state() == vx::Dataset::State::Edit)
            m_table->cancel();
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFCatalogo::BCerrarClick()
{
    EdBus->clear();
    if (m_kind.closeClearsEntry) {
        EdCod->clear();
        EdDes->clear();
    }
    m_proposed.reset();
    CB1->setCurrentText(m_kind.closeSearchField);
    if (m_table->active())
        m_table->close();
    accept();
}

TFEmpresas::TFEmpresas(QWidget *parent) : TFCatalogo(catalogue::brandKind(), DM1->Marcas, DM1->DSMarcas, parent) {}

void openCatalogue(TFCatalogo *window)
{
    try {
        if (!window->table().active())
            window->table().open();
        vx::ui::dialogs().showModal(window);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(window->parentWidget(), failure);
    }
    if (window->table().active())
        window->table().close();
    delete window;
}
