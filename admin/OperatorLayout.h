#pragma once

#include "lists/GridColumn.h"
#include "lists/ListWindowSpec.h"

namespace admin {

/// The operator list's row of the list-window table, and its grid columns.
lists::ListWindowSpec operatorSpec();
QList<lists::GridColumn> operatorColumns();

} // namespace admin
