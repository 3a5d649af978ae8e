#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace ui {

/// A save-file dialog as a window asks for it.
struct SaveFileRequest {
    QString title;
    /// Pairs of description and patterns, all separated by "|":
    /// "Text files (*.txt)|*.TXT|Bitmap Files|*.bmp". Patterns of one pair are separated by ";".
    QString filter;
    /// 1-based position of the pair chosen when the dialog opens.
    int filterIndex = 1;
    QString fileName;
    /// Added, without its dot, to a name typed without an extension.
    QString defaultExtension;
    /// Ask before an existing file is replaced.
    bool confirmOverwrite = true;
};

struct SaveFileAnswer {
    bool accepted = false;
    /// Absolute path of the chosen file; empty when cancelled.
    QString path;
    /// 1-based position of the pair chosen when the dialog closed; on cancel the request's.
    int filterIndex = 1;
};

struct OpenFileRequest {
    QString title;
    QString filter;
    QString defaultExtension;
    /// The folder the dialog opens in; empty for the current folder.
    QString directory;
};

/// The dialogs through which windows ask the user for a file, a colour or a font. While a
/// ChooserScript exists no dialog shows: the script answers.
SaveFileAnswer chooseSaveFile(QWidget* parent, const SaveFileRequest& request);
/// The chosen file's absolute path, or empty when cancelled.
QString chooseOpenFile(QWidget* parent, const QString& title, const QString& filter,
                       const QString& defaultExtension = QString(),
                       const QString& directory = QString());
/// The chosen colour, or nothing when cancelled.
std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial);
/// The chosen font, or nothing when cancelled.
std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial);

/// The "|"-separated filter in the form of Qt's file dialogs, one entry per pair: the
/// description followed by the patterns in parentheses, separated by blanks. The dialogs
/// hide that added part, so the user reads each description as written. "*.*" becomes "*",
/// every file, as it means on the system the filters were written for.
QStringList qtNameFilters(const QString& filter);

/// Test hook: while one exists, each chooser call is recorded and answered from the queue
/// of its kind; an empty queue answers Cancel. Not nestable.
class ChooserScript {
public:
    ChooserScript();
    ~ChooserScript();
    ChooserScript(const ChooserScript&) = delete;
    ChooserScript& operator=(const ChooserScript&) = delete;

    void answerSave(const SaveFileAnswer& answer) { m_saveAnswers.append(answer); }
    /// Accepts `path` with the request's filter index.
    void answerSave(const QString& path);
    /// An empty path answers Cancel.
    void answerOpen(const QString& path) { m_openAnswers.append(path); }
    void answerColor(std::optional<QColor> color) { m_colorAnswers.append(color); }
    void answerFont(std::optional<QFont> font) { m_fontAnswers.append(font); }

    const QList<SaveFileRequest>& saveRequests() const { return m_saveRequests; }
    const QList<OpenFileRequest>& openRequests() const { return m_openRequests; }
    /// The initial colour of each colour request.
    const QList<QColor>& colorRequests() const { return m_colorRequests; }
    /// The initial font of each font request.
    const QList<QFont>& fontRequests() const { return m_fontRequests; }
    int requestCount() const;

    /// Used by the choosers.
    static ChooserScript* active();
    SaveFileAnswer save(const SaveFileRequest& request);
    QString open(const OpenFileRequest& request);
    std::optional<QColor> color(const QColor& initial);
    std::optional<QFont> font(const QFont& initial);

private:
    QList<SaveFileRequest> m_saveRequests;
    QList<OpenFileRequest> m_openRequests;
    QList<QColor> m_colorRequests;
    QList<QFont> m_fontRequests;
    // An answer whose filter index is not positive keeps the request's.
    QList<SaveFileAnswer> m_saveAnswers;
    QList<QString> m_openAnswers;
    QList<std::optional<QColor>> m_colorAnswers;
    QList<std::optional<QFont>> m_fontAnswers;
};

} // namespace ui
