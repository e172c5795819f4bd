#include "platform/ui/DBNavigator.h"

#include "platform/db/DataSource.h"
#include "platform/db/Dataset.h"
#include "platform/ui/Dialogs.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace vx::ui {

namespace {

struct ButtonInfo {
    NavigatorButton button;
    const char *name;
    const char *hint;
};

constexpr ButtonInfo allButtons[] = {
    {NavigatorButton::First, "First", "Primer Registro"},
    {NavigatorButton::Prior, "Prior", "Registro Anterior"},
    {NavigatorButton::Next, "Next", "Registro Siguiente"},
    {NavigatorButton::Last, "Last", "Ultimo Registro"},
    {NavigatorButton::Insert, "Insert", "Insertar Registro"},
    {NavigatorButton::Delete, "Delete", "Eliminar Registro"},
    {NavigatorButton::Edit, "Edit", "Modificar Registro"},
    {NavigatorButton::Post, "Post", "Grabar Cambios"},
    {NavigatorButton::Cancel, "Cancel", "Cancelar Cambios"},
    {NavigatorButton::Refresh, "Refresh", "Refresh de Pantalla"},
};

constexpr int glyphSize = 16;

// The button's glyph, drawn rather than taken from a theme so that it looks the same everywhere.
QIcon glyph(NavigatorButton button)
{
    QPixmap pixmap(glyphSize, glyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    const auto triangle = [&p](qreal tipX, qreal baseX) {
        p.drawPolygon(QPolygonF({QPointF(tipX, 8), QPointF(baseX, 3), QPointF(baseX, 13)}));
    };
    switch (button) {
    case NavigatorButton::First:
        p.drawRect(QRectF(3, 3, 2, 10));
        triangle(5, 12);
        break;
    case NavigatorButton::Prior: triangle(4, 11); break;
    case NavigatorButton::Next: triangle(12, 5); break;
    case NavigatorButton::Last:
        triangle(11, 4);
        p.drawRect(QRectF(11, 3, 2, 10));
        break;
    case NavigatorButton::Insert:
        p.drawRect(QRectF(3, 7, 10, 2));
        p.drawRect(QRectF(7, 3, 2, 10));
        break;
    case NavigatorButton::Delete: p.drawRect(QRectF(3, 7, 10, 2)); break;
    case NavigatorButton::Edit: p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(3, 12), QPointF(13, 12)})); break;
    case NavigatorButton::Post:
        p.setPen(QPen(QColor(40, 40, 40), 2.2));
        p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
        break;
    case NavigatorButton::Cancel:
        p.setPen(QPen(QColor(40, 40, 40), 2.2));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case NavigatorButton::Refresh: {
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawPolygon(QPolygonF({QPointF(9, 1), QPointF(13.5, 3.5), QPointF(9, 6.5)}));
        break;
    }
    }
    return QIcon(pixmap);
}

}  // namespace

DBNavigator::DBNavigator(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const ButtonInfo &info : allButtons) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(info.name));
        b->setToolTip(QString::fromUtf8(info.hint));
        b->setIcon(glyph(info.button));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setMinimumSize(23, 23);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
        m_buttons.insert(info.button, b);
        const NavigatorButton which = info.button;
        connect(b, &QToolButton::clicked, this, [this, which] { click(which); });
    }
    setVisibleButtons(NavigatorButtons(0x3ff));
}

void DBNavigator::setDataSource(DataSource *source)
{
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_source = source;
    if (m_source) {
        m_connections << connect(m_source, &DataSource::dataSetChanged, this, &DBNavigator::updateButtons)
                      << connect(m_source, &DataSource::dataSetScrolled, this, &DBNavigator::updateButtons)
                      << connect(m_source, &DataSource::stateChanged, this, &DBNavigator::updateButtons)
                      << connect(m_source, &DataSource::activeChanged, this, &DBNavigator::updateButtons)
                      << connect(m_source, &QObject::destroyed, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setVisibleButtons(NavigatorButtons buttons)
{
    m_visible = buttons;
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it)
        it.value()->setVisible(buttons.testFlag(it.key()));
    updateButtons();
}

QString DBNavigator::hint(NavigatorButton which) const
{
    return m_buttons.value(which)->toolTip();
}

void DBNavigator::setHint(NavigatorButton which, const QString &text)
{
    m_buttons.value(which)->setToolTip(text);
}

void DBNavigator::updateButtons()
{
    const Dataset *ds = m_source ? m_source->dataSet() : nullptr;
    const bool active = ds && ds->active();
    const bool empty = !active || ds->isEmpty();
    const bool editing = active && (ds->state() == Dataset::State::Edit || ds->state() == Dataset::State::Insert);
    const bool canModify = active && !ds->isReadOnly();
    const auto enable = [this](NavigatorButton which, bool on) { m_buttons.value(which)->setEnabled(on); };
    enable(NavigatorButton::First, active && !empty && !ds->bof());
    enable(NavigatorButton::Prior, active && !empty && !ds->bof());
    enable(NavigatorButton::Next, active && !empty && !ds->eof());
    enable(NavigatorButton::Last, active && !empty && !ds->eof());
    enable(NavigatorButton::Insert, canModify);
    enable(NavigatorButton::Delete, canModify && (!empty || editing));
    enable(NavigatorButton::Edit, canModify && !editing);
    enable(NavigatorButton::Post, canModify && editing);
    enable(NavigatorButton::Cancel, canModify && editing);
    enable(NavigatorButton::Refresh, active && !editing);
}

void DBNavigator::act(Dataset &dataset, NavigatorButton which)
{
    switch (which) {
    case NavigatorButton::First: dataset.first(); break;
    case NavigatorButton::Prior: dataset.prior(); break;
    case NavigatorButton::Next: dataset.next(); break;
    case NavigatorButton::Last: dataset.last(); break;
    case NavigatorButton::Insert: dataset.insert(); break;
    case NavigatorButton::Delete:
        if (!m_confirmDelete || dialogs().confirm(this, QStringLiteral("¿Eliminar el registro?"), QString()))
            dataset.deleteRecord();
        break;
    case NavigatorButton::Edit: dataset.edit(); break;
    case NavigatorButton::Post: dataset.post(); break;
    case NavigatorButton::Cancel: dataset.cancel(); break;
    case NavigatorButton::Refresh: dataset.refresh(); break;
    }
}

void DBNavigator::click(NavigatorButton which)
{
    Dataset *ds = m_source ? m_source->dataSet() : nullptr;
    if (!ds || !m_buttons.value(which)->isEnabled())
        return;
    try {
        act(*ds, which);
    } catch (const std::exception &failure) {
        dialogs().showException(this, failure);
    }
    updateButtons();
    emit clicked(which);
}

}  // namespace vx::ui
