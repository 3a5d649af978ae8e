#include "AdminCommands.h"

#include <QString>

namespace admin {

void openCompanyInformation(QWidget*, const std::function<void(const QString&)>&) {}
void openClosingDate(QWidget*) {}
void openInitialisation(QWidget*) {}
void openBackup(QWidget*) {}
void openRestore(QWidget*) {}

} // namespace admin
