#include "ui/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace ui {

namespace {

MessageRecorder* s_recorder = nullptr;

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString applicationTitle() { return QCoreApplication::applicationName(); }

// Shows one box, or hands it to the recorder; true when the answer was Yes.
bool present(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
             bool question) {
    if (MessageRecorder* recorder = MessageRecorder::active())
        return recorder->record({title, text, icon, question, false});

    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, parent);
    // Texts carry engine messages and typed values; they must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    // The buttons read as the system's own boxes do, with or without Qt's translations.
    if (question) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否"));
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Yes;
}

} // namespace

void warn(QWidget* parent, const QString& text) {
    present(parent, QStringLiteral("提示"), text, MessageIcon::Warning, false);
}

void inform(QWidget* parent, const QString& text) {
    present(parent, QStringLiteral("提示"), text, MessageIcon::Information, false);
}

bool ask(QWidget* parent, const QString& text, const QString& title) {
    return present(parent, title, text, MessageIcon::Question, true);
}

void plain(QWidget* parent, const QString& text) {
    present(parent, applicationTitle(), text, MessageIcon::None, false);
}

void showError(QWidget* parent, const QString& text) {
    present(parent, applicationTitle(), errorText(text), MessageIcon::Critical, false);
}

QString errorText(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

MessageRecorder::MessageRecorder() {
    Q_ASSERT_X(!s_recorder, "MessageRecorder", "recorders do not nest");
    s_recorder = this;
}

MessageRecorder::~MessageRecorder() {
    if (s_recorder == this)
        s_recorder = nullptr;
}

QStringList MessageRecorder::texts() const {
    QStringList result;
    for (const MessageRecord& record : m_records)
        result.append(record.text);
    return result;
}

MessageRecorder* MessageRecorder::active() {
    return s_recorder;
}

bool MessageRecorder::record(MessageRecord record) {
    record.answeredYes = record.question && !m_answers.isEmpty() && m_answers.takeFirst();
    m_records.append(record);
    if (m_whileUp)
        std::exchange(m_whileUp, {})();
    return record.answeredYes;
}

} // namespace ui
