#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace admin {

/// The system menu's administration commands, each opening its window
/// modally over the main window.
void openCompanyInformation(QWidget* main, const std::function<void(const QString&)>& showBanner);
void openClosingDate(QWidget* main);
void openInitialisation(QWidget* main);
void openBackup(QWidget* main);
void openRestore(QWidget* main);

} // namespace admin
