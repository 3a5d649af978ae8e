#include "ExportDialog.h"

#include "ExportFormat.h"
#include "ExportStream.h"
#include "TableSnapshot.h"
#include "XlsExportWriter.h"

#include "store/EngineError.h"
#include "store/WholeFile.h"
#include "ui/Choosers.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QSaveFile>

namespace lists {

void exportWithDialog(QWidget* parent, const QString& proposedName,
                      const std::function<TableSnapshot()>& table) {
    ui::SaveDialogSettings& dialog = ui::Dm1->SaveDialog1;
    ui::SaveFileRequest request;
    request.filter = dialog.filter;
    request.filterIndex = dialog.filterIndex;
    request.fileName = proposedName;
    request.confirmOverwrite = false; // an existing file is replaced, as the cashier asked
    const ui::SaveFileAnswer answer = ui::chooseSaveFile(parent, request);
    if (!answer.accepted)
        return;
    dialog.filterIndex = answer.filterIndex;
    const int type = answer.filterIndex;
    if (type < 1 || type > 5)
        return;
    const QString path = exportFilePath(answer.path, type);
    if (ui::writesOverTheBook(path)) {
        ui::warn(parent, QStringLiteral("不能导出到数据库文件或属于它的文件，请另选文件名！"));
        return;
    }
    // Written beside the target and renamed over it: a failure part-way never
    // leaves a half-written file in the target's place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw store::EngineError(QStringLiteral("Cannot create file %1").arg(path));
    int cutLabels = 0;
    try {
        cutLabels = writeExport(type, table(), file);
    } catch (const XlsTooManyRows& e) {
        file.cancelWriting();
        ui::warn(parent, QStringLiteral(
                             "记录太多：Excel 工作表最多只能保存%1条记录，请改用其他文件类型导出！")
                             .arg(e.limit() - 2));
        return;
    } catch (const ExportWriteError& e) {
        file.cancelWriting();
        throw store::EngineError(QStringLiteral("不能写入文件 %1：%2").arg(path, e.message()));
    }
    if (const QString reason = store::commitWholeFile(file); !reason.isEmpty())
        throw store::EngineError(QStringLiteral("不能写入文件 %1：%2").arg(path, reason));
    if (cutLabels > 0)
        ui::warn(parent, cutLabelsNotice(cutLabels));
}

} // namespace lists
