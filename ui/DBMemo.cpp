#include "DBMemo.h"

#include <QFocusEvent>

namespace ui {

DBMemo::DBMemo(QWidget* parent)
    : QPlainTextEdit(parent)
    , m_link([this] { showField(); }, [this](store::Field& f) { f.setString(toPlainText()); }) {
    setLineWrapMode(WidgetWidth);
    setWordWrapMode(QTextOption::WordWrap);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { m_link.userChanged(); });
}

void DBMemo::showField() {
    const std::optional<store::Field> f = m_link.field();
    const QString shown = f ? f->asString() : QString();
    if (shown != toPlainText())
        setPlainText(shown);
}

void DBMemo::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::PopupFocusReason)
        m_link.updateRecordQuietly();
    QPlainTextEdit::focusOutEvent(event);
}

} // namespace ui
