// Temporary: pictures of the chart window for a look by eye.

#include "support/DataModuleFixture.h"

#include "stats/BarChart.h"
#include "stats/ChartLaunch.h"
#include "stats/TForm_dbbar.h"
#include "ui/Fonts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QWidget>

class ChartShots : public DataModuleFixture {};

TEST_F(ChartShots, Pictures) {
    const QByteArray dir = qgetenv("CHART_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP();
    ui::installFontSubstitutions();
    const char* rows[][2] = {{"01月", "12500.5"}, {"02月", "8300"}, {"03月", "-4200.75"},
                             {"04月", "15800"},   {"05月", "21000"}, {"06月", "-1500"},
                             {"07月", "9900"},    {"08月", "13400"}, {"09月", "6000"},
                             {"10月", "-8800"},   {"11月", "17250"}, {"12月", "24000"}};
    const int count = qEnvironmentVariableIntValue("CHART_ROWS") ? qEnvironmentVariableIntValue("CHART_ROWS") : 12;
    for (int i = 0; i < count; ++i)
        db.exec(QStringLiteral("insert into 通用 (年度, 月份, 收入差价) values ('2005', '%1', ccur('%2'))")
                    .arg(QString::fromUtf8(rows[i][0]), QString::fromUtf8(rows[i][1])));
    dm->q_tongyong.openWith({QStringLiteral("select * from "), QStringLiteral("通用"), QStringLiteral(" order by 月份")});
    QWidget owner;
    testing_support::onNextModal([&](QDialog* d) {
        auto* w = static_cast<stats::TForm_dbbar*>(d);
        w->showNormal();
        w->resize(1280, 720);
        QApplication::processEvents();
        auto shot = [&](const char* name) {
            QApplication::processEvents();
            w->grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
        };
        auto* combo = w->findChild<QComboBox*>("ComboBox1");
        auto* box = w->findChild<QCheckBox*>("CheckBox1");
        const char* names[] = {"rect", "pyramid", "inverted", "cylinder", "ellipse", "arrow"};
        shot("start");
        for (int i = 0; i < 6; ++i) {
            combo->setCurrentIndex(i);
            shot((std::string("3d-") + names[i]).c_str());
            box->setChecked(false);
            shot((std::string("flat-") + names[i]).c_str());
            box->setChecked(true);
        }
        combo->setCurrentIndex(0);
        w->chart()->picture().save(QString::fromUtf8(dir) + "/picture.bmp", "BMP");
        w->done(0);
    });
    stats::launchChart(&owner, stats::cashChartTitle);
}
