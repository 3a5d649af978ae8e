#pragma once

#include "lists/CatalogueWindow.h"

class QLabel;
class QToolButton;

namespace store {
class Query;
}
namespace ui {
class DBComboBox;
class DBEdit;
} // namespace ui

namespace journal {

/// The summary catalogue "摘要设置": summaries and their attribute, kept here
/// and, in picking mode, chosen for the journal entry being edited.
class TForm_zy : public lists::CatalogueWindow {
    Q_OBJECT
public:
    /// Maintenance mode; expects the summaries query open.
    explicit TForm_zy(QWidget* owner);
    /// Picking mode: a pick copies the summary and its attribute into the
    /// current row of `journal`.
    TForm_zy(QWidget* owner, store::Query* journal);

    /// "选中" and the double click in picking mode.
    void pick();

protected:
    bool checkFields() override;
    QWidget* firstField() const override;
    QWidget* nameField() const override;
    QList<QWidget*> lockedWhileAdding() const override;
    void rowAction() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateSaveKey();

    store::Query* m_journal;
    QToolButton* m_pick;
    QLabel* m_hint;
    ui::DBComboBox* m_attribute;
    ui::DBEdit* m_name;
};

} // namespace journal
