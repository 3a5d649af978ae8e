#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace ui {

/// The message boxes of the system. Every box a window shows goes through
/// these functions, so that tests can record them instead of blocking.

/// Input error or completion notice: title "提示", warning icon, OK.
void warn(QWidget* parent, const QString& text);
/// Completion notice with the information icon: title "提示", OK.
void inform(QWidget* parent, const QString& text);
/// Destructive step: question icon, Yes and No with No as the default (Enter
/// and Esc answer No). True only for Yes.
bool ask(QWidget* parent, const QString& text, const QString& title = QStringLiteral("请选择"));
/// Plain box: the application title as caption, no icon, OK.
void plain(QWidget* parent, const QString& text);
/// Error box: the application title as caption, error icon, OK; the text
/// passes through errorText().
void showError(QWidget* parent, const QString& text);
/// The error box's "." rule: a "." is added when the last character comes
/// after "." in character-code order (a letter or digit), not after "." or "!".
QString errorText(const QString& text);

enum class MessageIcon { None, Information, Warning, Question, Critical };

struct MessageRecord {
    QString title;
    QString text;
    MessageIcon icon;
    bool question; // Yes/No rather than OK
    bool answeredYes;
};

/// While one exists, boxes are not shown: each is logged, and questions are
/// answered from a queue (No when the queue is empty). Not nestable.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void answerNext(bool yes) { m_answers.append(yes); }
    /// Runs `act` while the next box is up, as a user would look at the
    /// screen before pressing its button.
    void whileNextIsUp(std::function<void()> act) { m_whileUp = std::move(act); }
    const QList<MessageRecord>& records() const { return m_records; }
    /// The texts of the boxes shown so far, in order.
    QStringList texts() const;
    void clear() { m_records.clear(); }

    /// Used by the box functions.
    static MessageRecorder* active();
    bool record(MessageRecord record);

private:
    QList<MessageRecord> m_records;
    QList<bool> m_answers;
    std::function<void()> m_whileUp;
};

} // namespace ui
