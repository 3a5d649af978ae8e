#include "CatalogueWindow.h"

#include "DataGrid.h"

#include "store/EngineError.h"
#include "store/Query.h"
#include "ui/DBNavigator.h"
#include "ui/InputMethods.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace lists {

namespace {
constexpr int kClientWidth = 635;
constexpr int kClientHeight = 395;
} // namespace

CatalogueWindow::CatalogueWindow(QWidget* owner, const ListWindowTraits& traits, ui::DataSource* source,
                                 const QList<GridColumn>& columns)
    : ListWindow(owner, traits, source, columns),
      m_leaveRowCheck(query(), [this] { return save(); }) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Panel2"));
    bodyLayout()->addWidget(m_panel, 1);
    grid()->setMaximumWidth(260);

    m_bottom = new QWidget(this);
    m_bottom->setObjectName(QStringLiteral("Panel3"));
    auto* row = new QHBoxLayout(m_bottom);
    row->setContentsMargins(0, 0, 0, 0);
    m_add = new QPushButton(QStringLiteral("增加 (&A)"), m_bottom);
    m_add->setObjectName(QStringLiteral("bitbtn_add"));
    m_save = new QPushButton(QStringLiteral("存盘 (&S)"), m_bottom);
    m_save->setObjectName(QStringLiteral("bitbtn_save"));
    m_cancel = new QPushButton(QStringLiteral("取消 (&C)"), m_bottom);
    m_cancel->setObjectName(QStringLiteral("bitbtn_cancel"));
    for (QPushButton* b : {m_add, m_save, m_cancel}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    row->addStretch();
    mainLayout()->addWidget(m_bottom);

    connect(m_add, &QPushButton::clicked, this, &CatalogueWindow::add);
    connect(m_save, &QPushButton::clicked, this, &CatalogueWindow::save);
    connect(m_cancel, &QPushButton::clicked, this, &CatalogueWindow::cancelChange);
}

bool CatalogueWindow::event(QEvent* event) {
    // Every activation gives the name field the logged-in operator's input method.
    if (event->type() == QEvent::WindowActivate && ui::Dm1)
        ui::InputMethods::assign(nameField(), ui::Dm1->login.inputMethod);
    return ListWindow::event(event);
}

void CatalogueWindow::setAdding(bool adding) {
    // The navigator too: only "存盘" or "取消" ends the adding.
    QList<QWidget*> locked = {m_add, deleteButton(), closeButton(), grid(), navigator()};
    locked += lockedWhileAdding();
    for (QWidget* w : locked)
        w->setEnabled(!adding);
}

void CatalogueWindow::add() {
    store::Query* q = query();
    q->cancel();
    q->append();
    setAdding(true);
    firstField()->setFocus();
}

bool CatalogueWindow::save() {
    store::Query* q = query();
    q->edit();
    q->updateRecord();
    if (!checkFields())
        return false;
    try {
        q->fieldByName(QStringLiteral("操作员")).setString(ui::Dm1->login.operatorName);
        q->fieldByName(QStringLiteral("操作日期")).setDateTime(store::DateTime::now());
        q->post();
    } catch (const store::EngineError& e) {
        // The row goes back to what is stored; say why, so nobody believes it saved.
        q->cancel();
        ui::showError(this, e.message());
    }
    setAdding(false);
    return true;
}

void CatalogueWindow::cancelChange() {
    query()->cancel();
    setAdding(false);
}

void CatalogueWindow::done(int result) {
    if (store::Query* q = query())
        q->cancel();
    ListWindow::done(result);
}

} // namespace lists
