#include "CopyProgress.h"

#include <QProgressDialog>

namespace ui {

namespace {
constexpr int kShowAfterMs = 400;
}

CopyProgress::CopyProgress(QWidget* parent, const QString& label, const QString& title)
    : m_dialog(std::make_unique<QProgressDialog>(parent)) {
    m_dialog->setObjectName(QStringLiteral("CopyProgress"));
    m_dialog->setWindowTitle(title);
    m_dialog->setLabelText(label);
    m_dialog->setCancelButton(nullptr);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(kShowAfterMs);
    m_dialog->setRange(0, 0);
    m_dialog->setValue(0); // starts the clock that decides whether it shows
    // A dialog without a cancel button still closes with Esc or its close box.
    m_dialog->setWindowFlags(m_dialog->windowFlags() & ~Qt::WindowCloseButtonHint);
}

CopyProgress::~CopyProgress() = default;

store::BackupProgress CopyProgress::callback() {
    QProgressDialog* dialog = m_dialog.get();
    return [dialog](int copied, int total) {
        if (dialog->maximum() != total)
            dialog->setMaximum(total);
        dialog->setValue(copied);
    };
}

} // namespace ui
