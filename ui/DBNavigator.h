#pragma once

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

class QToolButton;

namespace store {
class Query;
}

namespace ui {

class DataSource;

/// A row of four buttons that move a data source's cursor: first, prior,
/// next, last, with the hints "首记录", "上一条记录", "下一条记录", "尾记录".
/// First and prior are disabled on the first row, next and last on the last;
/// all four when the query is closed or has no rows. Moving leaves a pending
/// edit as store::Query does (posted, or kept with the cursor when the row's
/// window refuses to let it go); an EngineError from that propagates from the click.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last };
    Q_ENUM(Button)

    explicit DBNavigator(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const;

    /// The button (object names "nbFirst", "nbPrior", "nbNext", "nbLast").
    QToolButton* button(Button which) const { return m_buttons[which]; }

signals:
    /// After a button moved the cursor.
    void clicked(ui::DBNavigator::Button which);

private:
    void bind(store::Query* query);
    void move(Button which);
    void updateButtons();

    QToolButton* m_buttons[4];
    QPointer<DataSource> m_source;
    QPointer<store::Query> m_query;
    QList<QMetaObject::Connection> m_connections;
    QMetaObject::Connection m_sourceConnection;
};

} // namespace ui
