#include "DBEdit.h"

#include <QFocusEvent>

namespace ui {

DBEdit::DBEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_link([this] { showField(); }, [this](store::Field& f) { writeText(f, text()); }) {
    connect(this, &QLineEdit::textChanged, this, [this] { m_link.userChanged(); });
}

QString DBEdit::textFor(const store::Field& field) const {
    return field.asString();
}

void DBEdit::writeText(store::Field& field, const QString& text) {
    field.setString(text);
}

void DBEdit::showField() {
    const std::optional<store::Field> f = m_link.field();
    const QString shown = f ? textFor(*f) : QString();
    if (shown != text())
        setText(shown);
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::PopupFocusReason)
        m_link.updateRecordQuietly();
    QLineEdit::focusOutEvent(event);
}

} // namespace ui
