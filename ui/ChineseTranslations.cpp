#include "ui/ChineseTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <cstring>

namespace ui {

namespace {

/// The few texts of Qt's file dialog that its Chinese catalogue lacks: the type column of
/// the file list. Asked only after the catalogue, so the catalogue's own texts win.
class FileTypeTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (!context || !source || std::strcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const struct {
            const char* english;
            const char* chinese;
        } texts[] = {
            {"Folder", "文件夹"}, {"File", "文件"},         {"%1 File", "%1 文件"},
            {"Drive", "驱动器"},  {"Shortcut", "快捷方式"}, {"Alias", "替身"},
            {"Unknown", "未知"},
        };
        for (const auto& text : texts) {
            if (std::strcmp(source, text.english) == 0)
                return QString::fromUtf8(text.chinese);
        }
        return QString();
    }

    bool isEmpty() const override { return false; }
};

} // namespace

bool installChineseTranslations() {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    // Owned by the application, so they live as long as the texts they translate.
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto* fileTypes = new FileTypeTexts(QCoreApplication::instance());
    auto* qt = new QTranslator(QCoreApplication::instance());
    // The translator installed last is asked first.
    if (!qt->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(fileTypes) ||
        !QCoreApplication::installTranslator(qt)) {
        QCoreApplication::removeTranslator(fileTypes);
        delete fileTypes;
        delete qt;
        return false;
    }
    installed = qt;
    return true;
}

} // namespace ui
