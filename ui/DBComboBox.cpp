#include "DBComboBox.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace ui {

DBComboBox::DBComboBox(QWidget* parent)
    : QComboBox(parent)
    , m_link([this] { showField(); }, [this](store::Field& f) { f.setString(currentText()); }) {
    setEditable(true);
    setInsertPolicy(NoInsert);
    setCompleter(nullptr); // free text is stored as typed, never completed to an item
    connect(this, &QComboBox::editTextChanged, this, [this] { m_link.userChanged(); });
}

void DBComboBox::showField() {
    const std::optional<store::Field> f = m_link.field();
    const QString shown = f ? f->asString() : QString();
    // The list's current item follows the text, so that choosing the item the
    // list marks still changes a text that differs from it.
    const int item = findText(shown, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (item != currentIndex())
        setCurrentIndex(item);
    if (shown != currentText())
        setEditText(shown);
}

void DBComboBox::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::PopupFocusReason)
        m_link.updateRecordQuietly();
    QComboBox::focusOutEvent(event);
}

} // namespace ui
