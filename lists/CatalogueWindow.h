#pragma once

#include "ListWindow.h"

#include "store/Query.h"

class QPushButton;

namespace lists {

/// A catalogue kept beside its list: the fields on the right always show the
/// current row and typing in them changes it; "增加", "存盘" and "取消" below.
/// While a new row is being added, the controls that would leave it (the
/// navigator among them) are disabled until it is saved or cancelled. A
/// changed row is left only through the save: clicking another row or a
/// navigator button saves it, or stays on it when a check refuses it.
/// Closing cancels a pending change.
class CatalogueWindow : public ListWindow {
    Q_OBJECT
public:
    CatalogueWindow(QWidget* owner, const ListWindowTraits& traits, ui::DataSource* source,
                    const QList<GridColumn>& columns);

    void add();
    /// "存盘"; false when an input check keeps the row as typed.
    bool save();
    void cancelChange();

public slots:
    /// No title-bar buttons: Esc does not close a catalogue either.
    void reject() override {}
    void done(int result) override;

protected:
    /// The edit panel on the right of the grid.
    QWidget* editPanel() const { return m_panel; }
    QWidget* bottomBar() const { return m_bottom; }
    /// The input checks of "存盘" in their order: each failure shows its
    /// message and moves the focus; false stops the save.
    virtual bool checkFields() = 0;
    /// The field the cursor goes to when a row is added.
    virtual QWidget* firstField() const = 0;
    /// The field that carries the operator's input method.
    virtual QWidget* nameField() const = 0;
    /// Controls disabled while a new row is being added, beyond the common ones.
    virtual QList<QWidget*> lockedWhileAdding() const { return {}; }

    bool event(QEvent* event) override;

private:
    void setAdding(bool adding);

    QWidget* m_panel;
    QWidget* m_bottom;
    QPushButton* m_add;
    QPushButton* m_save;
    QPushButton* m_cancel;
    store::LeaveRowCheck m_leaveRowCheck;
};

} // namespace lists
