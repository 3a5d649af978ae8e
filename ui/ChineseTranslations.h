#pragma once

namespace ui {

/// Qt's own texts (dialog buttons, the file, colour, print and page-setup dialogs, the
/// calendar's month and day names) in Chinese, whatever language the desktop speaks:
/// zh_CN becomes every widget's locale and Qt's Chinese catalogue is loaded. Amounts and
/// dates the program writes itself do not depend on the locale. Without the catalogue
/// (the translations package is missing) Qt's texts stay as they are and nothing else
/// changes. Call once, after the application object exists. True when the catalogue loaded.
bool installChineseTranslations();

} // namespace ui
