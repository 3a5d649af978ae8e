#pragma once

#include "store/DatabaseBackup.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace ui {

/// A progress dialog over a copy of the database, for as long as it lives.
/// It shows only when the copy takes a while, and it has no cancel button:
/// a copy broken off half way would be of no use to anyone.
class CopyProgress {
public:
    CopyProgress(QWidget* parent, const QString& label,
                 const QString& title = QStringLiteral("数据备份"));
    ~CopyProgress();
    CopyProgress(const CopyProgress&) = delete;
    CopyProgress& operator=(const CopyProgress&) = delete;

    /// What the copy reports to.
    store::BackupProgress callback();

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace ui
