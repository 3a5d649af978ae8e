#include "TForm_printsetup.h"

#include "PrintDialogs.h"
#include "PrintOutput.h"

#include "ui/Choosers.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lists {

namespace {

QPointer<TForm_printsetup> s_dialog;

QDoubleSpinBox* marginBox(QWidget* parent, const char* name) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0.0, 10.0);
    box->setDecimals(2);
    box->setSingleStep(0.1);
    return box;
}

} // namespace

TForm_printsetup::TForm_printsetup(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TForm_printsetup"));
    setWindowTitle(QStringLiteral("打印设置"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* margins = new QGroupBox(QStringLiteral("页边距(厘米)"), this);
    margins->setObjectName(QStringLiteral("gbMargins"));
    m_top = marginBox(margins, "edTop");
    m_bottom = marginBox(margins, "edBottom");
    m_left = marginBox(margins, "edLeft");
    m_right = marginBox(margins, "edRight");
    auto* marginGrid = new QGridLayout(margins);
    const auto addMargin = [&](int row, int column, const QString& caption, QDoubleSpinBox* box) {
        auto* label = new QLabel(caption, margins);
        label->setBuddy(box);
        marginGrid->addWidget(label, row, column * 2);
        marginGrid->addWidget(box, row, column * 2 + 1);
    };
    addMargin(0, 0, QStringLiteral("上"), m_top);
    addMargin(0, 1, QStringLiteral("下"), m_bottom);
    addMargin(1, 0, QStringLiteral("左"), m_left);
    addMargin(1, 1, QStringLiteral("右"), m_right);

    auto* fontLabel = new QLabel(QStringLiteral("打印字体"), this);
    m_fontName = new QLineEdit(this);
    m_fontName->setObjectName(QStringLiteral("edFont"));
    fontLabel->setBuddy(m_fontName);
    m_fontButton = new QToolButton(this);
    m_fontButton->setObjectName(QStringLiteral("btnFont"));
    m_fontButton->setText(QStringLiteral("..."));
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(m_fontName, 1);
    fontRow->addWidget(m_fontButton);

    const auto checkBox = [&](const char* name, const QString& caption) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    m_autoStretch = checkBox("cbAutoStretch", QStringLiteral("延伸列宽"));
    m_coloured = checkBox("cbColored", QStringLiteral("表头有颜色"));
    m_fitToWidth = checkBox("cbFitToWidth", QStringLiteral("在整页上调整列宽"));
    m_optimalWidths = checkBox("cbOptimalWidths", QStringLiteral("自动匹配最佳列宽"));

    m_fitKind = new QGroupBox(this);
    m_fitKind->setObjectName(QStringLiteral("gbFitKind"));
    m_scaleGrid = new QRadioButton(QStringLiteral("测量整个表格"), m_fitKind);
    m_scaleGrid->setObjectName(QStringLiteral("rbScaleGrid"));
    m_changeWidths = new QRadioButton(QStringLiteral("改变列的宽度"), m_fitKind);
    m_changeWidths->setObjectName(QStringLiteral("rbChangeWidths"));
    auto* fitColumn = new QVBoxLayout(m_fitKind);
    fitColumn->addWidget(m_scaleGrid);
    fitColumn->addWidget(m_changeWidths);

    const auto pushButton = [&](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        return button;
    };
    m_printerSetup = pushButton("btnPrinterSetup", QStringLiteral("打印设置(&P)"));
    m_ok = pushButton("btnOK", QStringLiteral("确定(&E)"));
    m_ok->setDefault(true);
    m_cancel = pushButton("btnCancel", QStringLiteral("取消(&C)"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_printerSetup);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(margins);
    layout->addLayout(fontRow);
    layout->addWidget(m_autoStretch);
    layout->addWidget(m_coloured);
    layout->addWidget(m_fitToWidth);
    layout->addWidget(m_fitKind);
    layout->addWidget(m_optimalWidths);
    layout->addLayout(buttons);

    connect(m_fontButton, &QToolButton::clicked, this, &TForm_printsetup::chooseFont);
    connect(m_fontName, &QLineEdit::textEdited, this, &TForm_printsetup::fontNameEdited);
    connect(m_fitToWidth, &QCheckBox::toggled, this, &TForm_printsetup::updateFitKind);
    connect(m_printerSetup, &QPushButton::clicked, this, &TForm_printsetup::choosePageSetup);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TForm_printsetup::edit(QWidget* parent, PrintSetup& setup) {
    if (!s_dialog)
        s_dialog = new TForm_printsetup(parent);
    else if (s_dialog->parentWidget() != parent)
        s_dialog->setParent(parent, s_dialog->windowFlags());
    TForm_printsetup* dialog = s_dialog;
    dialog->load(setup);
    if (dialog->exec() != QDialog::Accepted)
        return false;
    dialog->store(setup);
    return true;
}

void TForm_printsetup::load(const PrintSetup& setup) {
    m_top->setValue(setup.marginsCm.top());
    m_bottom->setValue(setup.marginsCm.bottom());
    m_left->setValue(setup.marginsCm.left());
    m_right->setValue(setup.marginsCm.right());
    m_font = setup.printFont;
    m_fontName->setText(m_font ? m_font->family() : QString());
    m_autoStretch->setChecked(setup.autoStretchRows);
    m_coloured->setChecked(setup.colouredPrinting);
    m_fitToWidth->setChecked(setup.fitToPageWidth);
    m_optimalWidths->setChecked(setup.optimalColumnWidths);
    m_scaleGrid->setChecked(setup.fitKind == PrintSetup::FitKind::ScaleGrid);
    m_changeWidths->setChecked(setup.fitKind == PrintSetup::FitKind::ChangeColumnWidths);
    m_pageSize = setup.pageSize;
    m_orientation = setup.orientation;
    updateFitKind();
    m_ok->setFocus();
}

void TForm_printsetup::store(PrintSetup& setup) const {
    setup.marginsCm =
        QMarginsF(m_left->value(), m_top->value(), m_right->value(), m_bottom->value());
    setup.printFont = m_font;
    setup.autoStretchRows = m_autoStretch->isChecked();
    setup.colouredPrinting = m_coloured->isChecked();
    setup.fitToPageWidth = m_fitToWidth->isChecked();
    setup.optimalColumnWidths = m_optimalWidths->isChecked();
    setup.fitKind = m_changeWidths->isChecked() ? PrintSetup::FitKind::ChangeColumnWidths
                                                : PrintSetup::FitKind::ScaleGrid;
    setup.pageSize = m_pageSize;
    setup.orientation = m_orientation;
}

void TForm_printsetup::chooseFont() {
    QFont initial = m_font.value_or(QFont(QStringLiteral("宋体")));
    if (!m_font)
        initial.setPointSizeF(9.0);
    if (const std::optional<QFont> chosen = ui::chooseFont(this, initial)) {
        m_font = *chosen;
        m_fontName->setText(chosen->family());
    }
}

// Typing a name picks that family; clearing the field prints in the grid's own fonts.
void TForm_printsetup::fontNameEdited(const QString& text) {
    const QString family = text.trimmed();
    if (family.isEmpty()) {
        m_font.reset();
        return;
    }
    if (!m_font) {
        m_font = QFont(family);
        m_font->setPointSizeF(9.0);
    } else {
        m_font->setFamily(family);
    }
}

void TForm_printsetup::choosePageSetup() {
    QPrinter printer(QPrinter::HighResolution);
    PrintSetup pending;
    pending.pageSize = m_pageSize;
    pending.orientation = m_orientation;
    preparePrinter(printer, pending);
    if (!lists::choosePageSetup(this, printer))
        return;
    m_pageSize = printer.pageLayout().pageSize();
    m_orientation = printer.pageLayout().orientation();
}

void TForm_printsetup::updateFitKind() {
    m_fitKind->setEnabled(m_fitToWidth->isChecked());
}

} // namespace lists
