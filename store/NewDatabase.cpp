#include "NewDatabase.h"

#include "BookLocation.h"
#include "ConnectionString.h"
#include "Database.h"
#include "DatabaseBackup.h"
#include "DateTime.h"
#include "EngineError.h"
#include "ServerConnection.h"
#include "Schema.h"
#include "Statement.h"
#include "Transaction.h"

#include <QFileInfo>

namespace store {

namespace {

struct Summary {
    const char* name;
    const char* attribute;
};

constexpr Summary kSummaries[] = {
    {"提取现金", "增加"},   {"销售收入", "增加"}, {"收回欠款", "增加"},
    {"其他收入", "增加"},   {"存入银行", "减少"}, {"办公费", "减少"},
    {"差旅费", "减少"},     {"工资", "减少"},     {"水电费", "减少"},
    {"业务招待费", "减少"}, {"采购付款", "减少"},
};

void insertRow(Database& db, const QString& sql, const QVariantList& values) {
    Statement s(db, sql);
    for (int i = 0; i < values.size(); ++i)
        s.bind(i + 1, values[i]);
    s.step();
}

} // namespace

QString standardPassword() { return ConnectionString(ConnectionString::standard()).password(); }

namespace {

// The tables and the rows an installation ships, in one transaction.
void fillNewBook(Database& db, const QString& password) {
    Transaction unit(db);
    createSchema(db, password);
    const QString admin = QStringLiteral("系统管理员");
    const double now = DateTime::now().serial();
    insertRow(db, QStringLiteral("INSERT INTO 权限表 (姓名, 操作口令, 输入法, 备注, 操作员, 操作日期) "
                                 "VALUES (?, '', '', ?, ?, ?)"),
              {admin, QStringLiteral("安装时建立，请尽快设置口令"), admin, now});
    insertRow(db, QStringLiteral("INSERT INTO 公司信息 (公司名称, 公司地址, 联系电话, 联系人, 邮政编码, "
                                 "系统标题, 动态文字) VALUES (?, '', '', '', '', ?, ?)"),
              {QStringLiteral("本公司"), QStringLiteral("Tallomer 出纳日记账"),
               QStringLiteral("欢迎使用 Tallomer 出纳日记账，日清月结，账实相符。")});
    insertRow(db, QStringLiteral("INSERT INTO 关帐日期 (关帐日期) VALUES (?)"),
              {DateTime::today().serial()});
    for (const Summary& s : kSummaries)
        insertRow(db, QStringLiteral("INSERT INTO 摘要 (摘要, 属性, 操作员, 操作日期) VALUES (?, ?, ?, ?)"),
                  {QString::fromUtf8(s.name), QString::fromUtf8(s.attribute), admin, now});
    insertRow(db, QStringLiteral("INSERT INTO 开户银行 (项目, 操作员, 操作日期) VALUES (?, ?, ?)"),
              {QStringLiteral("工商银行基本户"), admin, now});
    unit.commit();
}

} // namespace

void createDatabaseFile(const QString& path, const QString& password) {
    if (QFileInfo::exists(path))
        throw EngineError(QStringLiteral("数据库文件“%1”已经存在").arg(path));
    // The books are for their owner alone: the new file is readable by its
    // owner only, and SQLite gives its journal files the mode of the database
    // file. A kill part way leaves no book, only a temporary removed later.
    createFileWhole(path, [&password](const QString& temporary) {
        Database db(temporary, Database::OpenMode::Create);
        db.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        fillNewBook(db, password);
    });
}

void createServerBook(const QString& connectionString, const QString& password) {
    Database db(std::make_unique<ServerConnection>(connectionString));
    if (db.hasTable(QStringLiteral("_engine")) || db.hasTable(table::cashJournal))
        throw EngineError(QStringLiteral("数据库“%1”中已经有一本帐，不能再建立")
                              .arg(shownBookName(connectionString)));
    fillNewBook(db, password);
}

void createBook(const QString& name, const QString& password) {
    if (isServerBook(name))
        createServerBook(name, password);
    else
        createDatabaseFile(name, password);
}

} // namespace store
