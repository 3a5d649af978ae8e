#pragma once

#include "LoginState.h"

#include "store/Connection.h"
#include "store/Query.h"
#include "DataSource.h"

#include <QList>
#include <QObject>
#include <QPixmap>

namespace ui {

/// The settings of the export file dialog, kept for the whole run.
struct SaveDialogSettings {
    QString filter = QStringLiteral(
        "Text files (*.txt)|*.TXT|Comma separated values (*.csv)|*.CSV|HTML file (*.htm)|*.HTM|"
        "Rich Text Format (*.rtf)|*.RTF|Microsoft Excel Workbook (*.xls)|*.XLS");
    int filterIndex = 5;
    QString fileName = QStringLiteral("file1");
};

/// The data module: the one connection, the nine shared queries every window
/// works on with their data sources, the export dialog settings, the column
/// button images and the login state. One instance for the run, `Dm1`.
class TDm1 : public QObject {
    Q_OBJECT
public:
    /// Not connected yet; the main window's first activation connects.
    explicit TDm1(const QString& connectionString, QObject* parent = nullptr);
    ~TDm1() override;

    store::Connection ADO_xjrjz;
    store::Query q_xjrjz{&ADO_xjrjz};
    store::Query q_qxb{&ADO_xjrjz};
    store::Query q_gsxx{&ADO_xjrjz};
    store::Query q_zy{&ADO_xjrjz};
    store::Query q_tongyong{&ADO_xjrjz};
    store::Query q_change{&ADO_xjrjz};
    store::Query q_gzsj{&ADO_xjrjz};
    store::Query q_search{&ADO_xjrjz};
    store::Query q_khyh{&ADO_xjrjz};
    DataSource ds_xjrjz{&q_xjrjz};
    DataSource ds_qxb{&q_qxb};
    DataSource ds_gsxx{&q_gsxx};
    DataSource ds_zy{&q_zy};
    DataSource ds_tongyong{&q_tongyong};
    DataSource ds_change{&q_change};
    DataSource DS_gzsj{&q_gzsj};
    DataSource ds_search{&q_search};
    DataSource ds_khyh{&q_khyh};

    /// Every bank account's `项目` in table order, and every summary's `摘要`
    /// in catalogue order, read through `q_zy`, which is closed afterwards.
    QStringList bankAccountNames();
    QStringList summaryNames();

    SaveDialogSettings SaveDialog1;
    QList<QPixmap> Arrows;
    LoginState login;
};

/// The data module of the run; null before it is made and after it is gone.
extern TDm1* Dm1;

/// Whether writing `path` would replace the book the data module works on or
/// one of its files; false while there is no data module.
bool writesOverTheBook(const QString& path);

} // namespace ui
