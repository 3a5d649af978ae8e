#pragma once

namespace ui {

/// A modal window cannot be minimised: some window managers draw a minimise
/// button on every window and hide the whole program with a minimised dialog,
/// with no task bar to bring it back. Call once, after the application object exists.
void installModalWindowRules();

} // namespace ui
