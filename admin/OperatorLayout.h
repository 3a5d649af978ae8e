#pragma once

#include "lists/GridColumn.h"
#include "lists/ListWindowTraits.h"

namespace admin {

/// The operator list's row of the list-window table, and its grid columns.
lists::ListWindowTraits operatorTraits();
QList<lists::GridColumn> operatorColumns();

} // namespace admin
