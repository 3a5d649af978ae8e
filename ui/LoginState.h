#pragma once

#include "store/DateTime.h"

#include <QString>

namespace ui {

/// Who is logged in, with which input method, and which month is kept: held
/// for the whole run with the data module.
struct LoginState {
    QString operatorName;
    QString operatorPassword;
    QString inputMethod;
    bool loggedIn = false;
    int loginAttempts = 0;
    store::DateTime closingDate; // zero until loaded: December 1899
};

} // namespace ui
