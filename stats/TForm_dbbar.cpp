#include "TForm_dbbar.h"

#include "BarChart.h"
#include "BarChartOutput.h"

#include "lists/PrintDialogs.h"
#include "ui/Choosers.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolButton>
#include <QVBoxLayout>

namespace stats {

namespace {

constexpr int kToolRowHeight = 45;

QToolButton* toolButton(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(60);
    return button;
}

} // namespace

TForm_dbbar::TForm_dbbar(QWidget* owner)
    : QDialog(owner)
    , m_table(ui::Dm1 ? &ui::Dm1->ADO_xjrjz : nullptr) {
    setObjectName(QStringLiteral("Form_dbbar"));
    setWindowTitle(QStringLiteral("显示统计分析图形"));
    setModal(true);
    m_table.setObjectName(QStringLiteral("Table"));

    auto* toolRow = new QWidget(this);
    toolRow->setObjectName(QStringLiteral("Panel1"));
    toolRow->setFixedHeight(kToolRowHeight);
    auto* label = new QLabel(QStringLiteral("显示样式："), toolRow);
    label->setObjectName(QStringLiteral("Label1"));
    m_shapes = new QComboBox(toolRow);
    m_shapes->setObjectName(QStringLiteral("ComboBox1"));
    m_shapes->setEditable(false);
    m_shapes->addItems({QStringLiteral("矩形"), QStringLiteral("正三角型"),
                        QStringLiteral("倒三角形"), QStringLiteral("圆柱型"),
                        QStringLiteral("椭圆型"), QStringLiteral("箭头")});
    m_shapes->setCurrentIndex(-1);
    m_shapes->setMinimumWidth(110);
    label->setBuddy(m_shapes);
    m_threeDimensional = new QCheckBox(QStringLiteral("立体图形"), toolRow);
    m_threeDimensional->setObjectName(QStringLiteral("CheckBox1"));
    m_threeDimensional->setLayoutDirection(Qt::RightToLeft);
    m_threeDimensional->setChecked(true);
    m_save = toolButton(toolRow, "SpeedButton1", QStringLiteral("保存"));
    m_print = toolButton(toolRow, "SpeedButton2", QStringLiteral("打印"));
    m_exit = toolButton(toolRow, "SpeedButton3", QStringLiteral("退出"));

    auto* row = new QHBoxLayout(toolRow);
    row->setContentsMargins(8, 0, 8, 0);
    row->setSpacing(6);
    row->addWidget(label);
    row->addWidget(m_shapes);
    row->addSpacing(16);
    row->addWidget(m_threeDimensional);
    row->addSpacing(16);
    row->addWidget(m_save);
    row->addWidget(m_print);
    row->addWidget(m_exit);
    row->addStretch();

    m_chart = new BarChart(this);
    m_chart->setObjectName(QStringLiteral("DBChart1"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolRow);
    layout->addWidget(m_chart, 1);

    connect(m_shapes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_chart->setShape(BarShape(index));
    });
    connect(m_threeDimensional, &QCheckBox::toggled, m_chart, &BarChart::setThreeDimensional);
    connect(m_save, &QToolButton::clicked, this, &TForm_dbbar::saveBitmap);
    connect(m_print, &QToolButton::clicked, this, &TForm_dbbar::print);
    connect(m_exit, &QToolButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(m_chart, &BarChart::barClicked, this, &TForm_dbbar::chooseBarColor);

    // The chart follows its table, as a chart bound to a dataset does.
    connect(&m_table, &store::Query::reset, this, &TForm_dbbar::reloadBars);
    connect(&m_table, &store::Query::rowInserted, this, &TForm_dbbar::reloadBars);
    connect(&m_table, &store::Query::rowRemoved, this, &TForm_dbbar::reloadBars);
    connect(&m_table, &store::Query::rowChanged, this, &TForm_dbbar::reloadBars);

    setWindowState(Qt::WindowMaximized);
}

TForm_dbbar::~TForm_dbbar() = default;

void TForm_dbbar::openTable() {
    m_table.openWith({QStringLiteral("select * from 图形显示")});
}

void TForm_dbbar::setChartTitle(const QString& title) {
    m_chart->setTitle(title);
}

void TForm_dbbar::reloadBars() {
    QList<QString> labels;
    QList<store::Currency> values;
    const int label = m_table.fieldIndex(QStringLiteral("sl1"));
    const int value = m_table.fieldIndex(QStringLiteral("je1"));
    if (m_table.isOpen() && label >= 0 && value >= 0) {
        for (int row = 0; row < m_table.recordCount(); ++row) {
            labels << store::valueToString(m_table.valueAt(row, label), m_table.fieldType(label));
            values << store::valueToCurrency(m_table.valueAt(row, value), m_table.fieldType(value));
        }
    }
    m_chart->setBars(labels, values);
}

void TForm_dbbar::chooseBarColor(int index) {
    const QColor current = m_chart->data().bars.value(index).color;
    if (const std::optional<QColor> chosen = ui::chooseColor(this, current))
        m_chart->setBarColor(index, *chosen);
}

void TForm_dbbar::saveBitmap() {
    ui::SaveFileRequest request;
    request.title = QStringLiteral("保存到BMP文件中");
    request.filter = QStringLiteral("Bitmap Files|*.bmp");
    request.defaultExtension = QStringLiteral("BMP");
    request.fileName = QStringLiteral("TEE0.BMP");
    request.confirmOverwrite = true;
    const ui::SaveFileAnswer answer = ui::chooseSaveFile(this, request);
    if (!answer.accepted)
        return;
    const QString error = writeBitmap(m_chart->picture(), answer.path);
    if (!error.isEmpty())
        ui::showError(this, QStringLiteral("不能保存文件 %1：%2")
                                .arg(QDir::toNativeSeparators(answer.path), error));
}

bool TForm_dbbar::choosePrinter(QPrinter& printer) {
    // Tests say where the page goes instead of a printer.
    if (lists::PrintDialogScript* script = lists::PrintDialogScript::active())
        return script->print(printer, 1).has_value();
    // A new printer object stands for the default printer.
    if (!QPrinterInfo::availablePrinters().isEmpty())
        return true;
    // Without any printer the page can still be kept, as a PDF file.
    ui::SaveFileRequest request;
    request.title = QStringLiteral("没有安装打印机，打印到PDF文件");
    request.filter = QStringLiteral("PDF 文件|*.pdf");
    request.defaultExtension = QStringLiteral("PDF");
    request.fileName = QStringLiteral("TEE0.PDF");
    request.confirmOverwrite = true;
    const ui::SaveFileAnswer answer = ui::chooseSaveFile(this, request);
    if (!answer.accepted)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(answer.path);
    return true;
}

void TForm_dbbar::print() {
    QPrinter printer(QPrinter::HighResolution);
    if (!choosePrinter(printer))
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat &&
        ui::writesOverTheBook(printer.outputFileName())) {
        ui::warn(this, QStringLiteral("不能打印到数据库文件或属于它的文件，请另选文件名！"));
        return;
    }
    QString fileError;
    if (printBarChart(m_chart->data(), m_chart->size(), printer, &fileError))
        return;
    if (!fileError.isEmpty())
        ui::warn(this,
                 QStringLiteral("不能写入文件 %1：%2").arg(printer.outputFileName(), fileError));
    else
        ui::warn(this, QStringLiteral("打印没有完成，请检查打印机。"));
}

} // namespace stats
