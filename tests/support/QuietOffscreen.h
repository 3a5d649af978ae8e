#pragma once

namespace testing_support {

/// Drops the offscreen platform's warning about every window it cannot size
/// by hints, so that test output shows what matters.
void quietOffscreenWarnings();

} // namespace testing_support
