#include "DailyCopyAtClose.h"

#include "store/Database.h"
#include "store/SafetyCopies.h"
#include "ui/CopyProgress.h"
#include "ui/MessageBoxes.h"

#include <QDate>

namespace app {

namespace {

QString megabytes(qint64 bytes) {
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

} // namespace

std::function<qint64(const QString& folder)> dailyCopyFreeSpace;
std::function<QDate()> dailyCopyDay;

void makeDailyCopyAtClose(QWidget* parent, store::Database& book) {
    QString problem;
    try {
        store::SafetyCopies copies(book.path());
        if (dailyCopyFreeSpace)
            copies.freeSpace = dailyCopyFreeSpace;
        // The progress dialog lives only for the copy: left open it would come
        // up over the notice below and cover its button.
        const store::SafetyCopies::DailyResult result = [&] {
            ui::CopyProgress progress(parent,
                                      QStringLiteral("正在做今天的数据库安全备份，请稍候……"));
            return copies.makeDailyCopy(book, dailyCopyDay ? dailyCopyDay() : QDate::currentDate(),
                                        progress.callback());
        }();
        if (result.outcome == store::SafetyCopies::Outcome::NoRoom)
            ui::warn(parent, QStringLiteral("磁盘剩余空间不足（需要%1，只有%2），"
                                            "今天没有做数据库的安全备份！")
                                 .arg(megabytes(result.needed), megabytes(result.available)));
        return;
    } catch (const store::EngineError& e) {
        problem = e.message();
    } catch (const std::exception& e) {
        problem = QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    ui::warn(parent, QStringLiteral("今天的数据库安全备份没有完成，数据库本身没有改变。\n") + problem);
}

} // namespace app
