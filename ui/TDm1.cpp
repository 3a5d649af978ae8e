#include "TDm1.h"

#include "Artwork.h"

#include "store/BookFiles.h"
#include "store/ConnectionString.h"

namespace ui {

TDm1* Dm1 = nullptr;

TDm1::TDm1(const QString& connectionString, QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("Dm1"));
    ADO_xjrjz.setObjectName(QStringLiteral("ADO_xjrjz"));
    ADO_xjrjz.setConnectionString(connectionString);
    const std::pair<QObject*, const char*> names[] = {
        {&q_xjrjz, "q_xjrjz"},       {&q_qxb, "q_qxb"},         {&q_gsxx, "q_gsxx"},
        {&q_zy, "q_zy"},             {&q_tongyong, "q_tongyong"}, {&q_change, "q_change"},
        {&q_gzsj, "q_gzsj"},         {&q_search, "q_search"},   {&q_khyh, "q_khyh"},
        {&ds_xjrjz, "ds_xjrjz"},     {&ds_qxb, "ds_qxb"},       {&ds_gsxx, "ds_gsxx"},
        {&ds_zy, "ds_zy"},           {&ds_tongyong, "ds_tongyong"}, {&ds_change, "ds_change"},
        {&DS_gzsj, "DS_gzsj"},       {&ds_search, "ds_search"}, {&ds_khyh, "ds_khyh"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QLatin1String(name));
    Arrows = {artwork::arrowImage(0), artwork::arrowImage(1)};
    Dm1 = this;
}

namespace {

QStringList readNames(store::Query& query, const QStringList& sql, const QString& field) {
    query.openWith(sql);
    QStringList names;
    for (query.first(); !query.eof(); query.next())
        names << query.fieldByName(field).asString();
    query.close();
    return names;
}

} // namespace

QStringList TDm1::bankAccountNames() {
    return readNames(q_zy, {QStringLiteral("select * from "), QStringLiteral("开户银行")},
                     QStringLiteral("项目"));
}

QStringList TDm1::summaryNames() {
    return readNames(q_zy, {QStringLiteral("select * from "), QStringLiteral("摘要"), QStringLiteral("order by 代码")},
                     QStringLiteral("摘要"));
}

TDm1::~TDm1() {
    if (Dm1 == this)
        Dm1 = nullptr;
}

bool writesOverTheBook(const QString& path) {
    return Dm1 &&
           store::isBookOrItsFile(
               store::ConnectionString(Dm1->ADO_xjrjz.connectionString()).dataSource(), path);
}

} // namespace ui
