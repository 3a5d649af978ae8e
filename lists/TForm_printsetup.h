#pragma once

#include "PrintSetup.h"

#include <QDialog>
#include <QFont>
#include <QPageSize>

#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace lists {

/// The print setup dialog "打印设置": margins, print font, row stretching,
/// colour and fitting of the document in the preview. One dialog serves the
/// whole run; OK writes the values back, Cancel leaves the setup untouched.
class TForm_printsetup : public QDialog {
    Q_OBJECT

public:
    /// Shows the dialog over `parent` with the values of `setup`; true on OK,
    /// after the values have been written back into `setup`.
    static bool edit(QWidget* parent, PrintSetup& setup);

private:
    explicit TForm_printsetup(QWidget* parent);
    void load(const PrintSetup& setup);
    void store(PrintSetup& setup) const;
    void chooseFont();
    void fontNameEdited(const QString& text);
    void choosePageSetup();
    void updateFitKind();

    QDoubleSpinBox* m_top = nullptr;
    QDoubleSpinBox* m_bottom = nullptr;
    QDoubleSpinBox* m_left = nullptr;
    QDoubleSpinBox* m_right = nullptr;
    QLineEdit* m_fontName = nullptr;
    QToolButton* m_fontButton = nullptr;
    QCheckBox* m_autoStretch = nullptr;
    QCheckBox* m_coloured = nullptr;
    QCheckBox* m_fitToWidth = nullptr;
    QCheckBox* m_optimalWidths = nullptr;
    QGroupBox* m_fitKind = nullptr;
    QRadioButton* m_scaleGrid = nullptr;
    QRadioButton* m_changeWidths = nullptr;
    QPushButton* m_printerSetup = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;

    std::optional<QFont> m_font;
    QPageSize m_pageSize;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
};

} // namespace lists
