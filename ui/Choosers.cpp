#include "ui/Choosers.h"

#include "store/DateTime.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QTreeView>

namespace ui {

namespace {

ChooserScript* s_script = nullptr;

/// The file list's sizes and dates as the rest of the program words them: Qt words them in
/// the desktop's language ("633 bytes", "10 Dec 2026 06:43:35").
class ChineseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex file = mapToSource(index);
        if (index.column() == 1)
            return files->isDir(file) ? QString() : m_chinese.formattedDataSize(files->size(file));
        const QDateTime changed = files->lastModified(file);
        if (!changed.isValid())
            return QString();
        return store::shortDateText(changed.date()) + QLatin1Char(' ') +
               changed.time().toString(QStringLiteral("H:mm"));
    }

private:
    const QLocale m_chinese{QLocale::Chinese, QLocale::China};
};

QString withoutDot(const QString& extension) {
    return extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension;
}

// The dialog as both file choosers set it up; `filters` from qtNameFilters().
void prepare(QFileDialog& dialog, const QString& title, const QStringList& filters,
             const QString& defaultExtension) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setProxyModel(new ChineseFileColumns(&dialog));
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(withoutDot(defaultExtension));
    // Qt's widths suit a narrow Latin face; in the CJK faces sizes, types and dates
    // would end in "…". They follow their texts, and the name takes the rest.
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        dialog.resize(std::max(dialog.sizeHint().width(), 720), dialog.sizeHint().height());
    }
}

// 1-based; the dialog names the chosen filter as shown, that is without the added patterns.
int chosenFilter(const QFileDialog& dialog, const QStringList& filters, int fallback) {
    const QString chosen = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < filters.size(); ++i) {
        const QString& filter = filters[i];
        if (chosen == filter || chosen == filter.left(filter.lastIndexOf(QLatin1String(" ("))))
            return int(i) + 1;
    }
    return fallback;
}

} // namespace

QStringList qtNameFilters(const QString& filter) {
    QStringList result;
    if (filter.isEmpty())
        return result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns;
        if (i + 1 < parts.size()) {
            for (const QString& piece : parts[i + 1].split(QLatin1Char(';'))) {
                QString pattern = piece.trimmed();
                if (pattern == QLatin1String("*.*"))
                    pattern = QStringLiteral("*");
                if (!pattern.isEmpty() && !patterns.contains(pattern))
                    patterns.append(pattern);
            }
        }
        if (patterns.isEmpty())
            patterns.append(QStringLiteral("*"));
        result.append(description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')'));
    }
    return result;
}

SaveFileAnswer chooseSaveFile(QWidget* parent, const SaveFileRequest& request) {
    if (ChooserScript* script = ChooserScript::active())
        return script->save(request);

    const QStringList filters = qtNameFilters(request.filter);
    QFileDialog dialog(parent);
    prepare(dialog, request.title, filters, request.defaultExtension);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!filters.isEmpty()) {
        const int index = request.filterIndex >= 1 && request.filterIndex <= filters.size()
                              ? request.filterIndex
                              : 1;
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);

    SaveFileAnswer answer;
    answer.filterIndex = request.filterIndex;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.accepted = true;
    answer.path = dialog.selectedFiles().constFirst();
    answer.filterIndex = chosenFilter(dialog, filters, request.filterIndex);
    return answer;
}

QString chooseOpenFile(QWidget* parent, const QString& title, const QString& filter,
                       const QString& defaultExtension, const QString& directory) {
    if (ChooserScript* script = ChooserScript::active())
        return script->open({title, filter, defaultExtension, directory});

    QFileDialog dialog(parent);
    prepare(dialog, title, qtNameFilters(filter), defaultExtension);
    if (!directory.isEmpty())
        dialog.setDirectory(directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) {
    if (ChooserScript* script = ChooserScript::active())
        return script->color(initial);
    const QColor color =
        QColorDialog::getColor(initial, parent, QString(), QColorDialog::DontUseNativeDialog);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) {
    if (ChooserScript* script = ChooserScript::active())
        return script->font(initial);
    bool ok = false;
    const QFont font =
        QFontDialog::getFont(&ok, initial, parent, QString(), QFontDialog::DontUseNativeDialog);
    if (!ok)
        return std::nullopt;
    return font;
}

ChooserScript::ChooserScript() {
    Q_ASSERT_X(!s_script, "ChooserScript", "scripts do not nest");
    s_script = this;
}

ChooserScript::~ChooserScript() {
    if (s_script == this)
        s_script = nullptr;
}

void ChooserScript::answerSave(const QString& path) {
    m_saveAnswers.append({true, path, 0});
}

int ChooserScript::requestCount() const {
    return int(m_saveRequests.size() + m_openRequests.size() + m_colorRequests.size() +
               m_fontRequests.size());
}

ChooserScript* ChooserScript::active() {
    return s_script;
}

SaveFileAnswer ChooserScript::save(const SaveFileRequest& request) {
    m_saveRequests.append(request);
    SaveFileAnswer answer;
    if (!m_saveAnswers.isEmpty())
        answer = m_saveAnswers.takeFirst();
    if (answer.filterIndex <= 0 || !answer.accepted)
        answer.filterIndex = request.filterIndex;
    return answer;
}

QString ChooserScript::open(const OpenFileRequest& request) {
    m_openRequests.append(request);
    return m_openAnswers.isEmpty() ? QString() : m_openAnswers.takeFirst();
}

std::optional<QColor> ChooserScript::color(const QColor& initial) {
    m_colorRequests.append(initial);
    return m_colorAnswers.isEmpty() ? std::nullopt : m_colorAnswers.takeFirst();
}

std::optional<QFont> ChooserScript::font(const QFont& initial) {
    m_fontRequests.append(initial);
    return m_fontAnswers.isEmpty() ? std::nullopt : m_fontAnswers.takeFirst();
}

} // namespace ui
