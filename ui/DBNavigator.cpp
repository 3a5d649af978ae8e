#include "DBNavigator.h"

#include "Artwork.h"
#include "DataSource.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace ui {

namespace {

// Glyphs of the buttons: a bar for first and last, one triangle pointing the
// way of the move.
QIcon navigatorIcon(DBNavigator::Button which) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x20, 0x20));
    const bool back = which == DBNavigator::First || which == DBNavigator::Prior;
    QPainterPath triangle;
    if (back) {
        triangle.moveTo(11, 3);
        triangle.lineTo(11, 13);
        triangle.lineTo(5, 8);
    } else {
        triangle.moveTo(5, 3);
        triangle.lineTo(5, 13);
        triangle.lineTo(11, 8);
    }
    triangle.closeSubpath();
    p.drawPath(triangle);
    if (which == DBNavigator::First)
        p.drawRect(QRectF(3, 3, 2, 10));
    else if (which == DBNavigator::Last)
        p.drawRect(QRectF(11, 3, 2, 10));
    return artwork::glyphIcon(pixmap);
}

} // namespace

DBNavigator::DBNavigator(QWidget* parent)
    : QWidget(parent) {
    static const char* const names[] = {"nbFirst", "nbPrior", "nbNext", "nbLast"};
    const QString hints[] = {QStringLiteral("首记录"), QStringLiteral("上一条记录"),
                             QStringLiteral("下一条记录"), QStringLiteral("尾记录")};
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = First; i <= Last; ++i) {
        const auto which = Button(i);
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(names[i]));
        b->setToolTip(hints[i]);
        b->setIcon(navigatorIcon(which));
        b->setFocusPolicy(Qt::NoFocus);
        b->setEnabled(false);
        connect(b, &QToolButton::clicked, this, [this, which] { move(which); });
        layout->addWidget(b);
        m_buttons[i] = b;
    }
}

void DBNavigator::setDataSource(DataSource* source) {
    if (m_source == source)
        return;
    disconnect(m_sourceConnection);
    m_source = source;
    if (source)
        m_sourceConnection =
            connect(source, &DataSource::queryChanged, this, [this](store::Query* q) { bind(q); });
    bind(source ? source->query() : nullptr);
}

DataSource* DBNavigator::dataSource() const {
    return m_source;
}

void DBNavigator::bind(store::Query* query) {
    for (const QMetaObject::Connection& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_query = query;
    if (query) {
        const auto update = [this] { updateButtons(); };
        m_connections = {
            connect(query, &store::Query::reset, this, update),
            connect(query, &store::Query::currentChanged, this, update),
            connect(query, &store::Query::rowInserted, this, update),
            connect(query, &store::Query::rowRemoved, this, update),
            connect(query, &store::Query::stateChanged, this, update),
            connect(query, &QObject::destroyed, this, update),
        };
    }
    updateButtons();
}

void DBNavigator::move(Button which) {
    store::Query* q = m_query;
    if (!q || !q->isOpen())
        return;
    switch (which) {
    case First:
        q->first();
        break;
    case Prior:
        q->prior();
        break;
    case Next:
        q->next();
        break;
    case Last:
        q->last();
        break;
    }
    emit clicked(which);
}

void DBNavigator::updateButtons() {
    store::Query* q = m_query;
    const bool rows = q && q->isOpen() && !q->isEmpty();
    const int current = rows ? q->currentIndex() : -1;
    const bool back = rows && current > 0;
    const bool forward = rows && current >= 0 && current < q->recordCount() - 1;
    m_buttons[First]->setEnabled(back);
    m_buttons[Prior]->setEnabled(back);
    m_buttons[Next]->setEnabled(forward);
    m_buttons[Last]->setEnabled(forward);
}

} // namespace ui
