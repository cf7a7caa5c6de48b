// The tables of zyqhmz.mdb; see schema.h. Grouped by the part of the system that
// writes them: dispensary, query dictionaries, knowledge bases, outpatient clinic,
// system data.
#include "data/schema.h"

namespace data {

namespace {

using T = Column::Type;

// Text columns named in one string, for the many all-text tables.
std::vector<Column> texts(const QString& names)
{
    std::vector<Column> columns;
    for (const QString& name : names.split(u' ', Qt::SkipEmptyParts)) columns.push_back({name, T::Text});
    return columns;
}

Table dictionary(const QString& table, const QString& column, const QString& index)
{
    return {table, {{column, T::Text}}, {{index, {column}, false}}};
}

std::vector<Table> describeTables()
{
    std::vector<Table> all;

    // Dispensary: drug list, stock balance, stock journal.
    all.push_back({QStringLiteral("ycjg"),
                   {{"ycbm", T::Text}, {"ycmc", T::Text}, {"ycdj", T::Number}, {"jldw", T::Text}, {"yplb", T::Text}},
                   {{"ycbmi", {"ycbm"}, true}, {"ycmci", {"ycmc"}, true}}});
    all.push_back({QStringLiteral("ycyltb"),
                   {{"ycbm", T::Text}, {"rksl", T::Number}, {"rkje", T::Number}, {"ycyl", T::Number}},
                   {{"ycyli", {"ycbm"}, true}}});
    all.push_back({QStringLiteral("yccrtb"),
                   {{"crsj", T::Date}, {"ycbm", T::Text}, {"ywzy", T::Text}, {"yccd", T::Text},
                    {"ycly", T::Text}, {"ywph", T::Text}, {"yxqx", T::Date}, {"blhm", T::Text},
                    {"blks", T::Text}, {"rksl", T::Number}, {"rkje", T::Number}, {"cksl", T::Number},
                    {"ckje", T::Number}, {"xsje", T::Number}, {"jbxm", T::Text}, {"bgxm", T::Text}},
                   // Not part of the old format: lets the settlement reach one drug's
                   // rows without reading the whole journal; it changes no stored value.
                   {{"ycbmi", {"ycbm"}, false}}});

    // Query dictionaries: one term column each, rebuilt before a query window opens.
    all.push_back(dictionary("ycgy", "ycgy", "ycgyi"));
    all.push_back(dictionary("yczz", "yczz", "yczzi"));
    all.push_back(dictionary("fjgy", "fjgy", "fjgyi"));
    all.push_back(dictionary("fjzz", "fjzz", "fjzzi"));
    all.push_back(dictionary("lcfj", "fjlc", "fjlci"));
    all.push_back(dictionary("bzzz", "bzzz", "bzzzi"));
    all.push_back(dictionary("Cygx", "cygy", "cygxi"));
    all.push_back(dictionary("Cyzz", "cyzz", "cyzzi"));

    // Knowledge bases: herbs, formulas, syndromes and diagnoses, patent medicines, western drugs.
    all.push_back({QStringLiteral("zyyc"), texts("ycmc ycgj ycxw ycgy yczz ycyf ycyj ycxd dlxm"),
                   {{"ycmci", {"ycmc"}, true}}});
    all.push_back({QStringLiteral("zyfj"), texts("fjmc fjgc fjgy fjzz fjyf fjly fjxd dlxm"),
                   {{"fjmci", {"fjmc"}, true}}});
    all.push_back({QStringLiteral("zybz"), texts("bzmc bzqk bzcy zlcs dlxm"),
                   {{"zybzi", {"bzmc", "bzqk"}, true}}});
    all.push_back({QStringLiteral("fjcy"), texts("cymc cygc cygy cyzz cyyf cyxd dlxm"),
                   {{"cymci", {"cymc"}, true}}});
    all.push_back({QStringLiteral("ylsy"), texts("symc syyt syjl syzy syxd dlxm sylb"),
                   {{"symci", {"symc"}, true}}});

    // Outpatient clinic: patient records, visits, pending follow-ups.
    std::vector<Column> patient = texts("blbm blxm blxb");
    patient.push_back({"blnl", T::Number});
    for (const Column& c : texts("blzy bldw blhf bldz blte mail")) patient.push_back(c);
    patient.push_back({"blsj", T::Date});
    patient.push_back({"bljz", T::Date});
    patient.push_back({"blxd", T::Text});
    patient.push_back({"zldl", T::Text});
    all.push_back({QStringLiteral("hzblzl"), patient, {{"blbmi", {"blbm"}, true}}});
    all.push_back({QStringLiteral("hzzdzl"),
                   {{"blbm", T::Text}, {"blkb", T::Text}, {"blsj", T::Date}, {"bzxy", T::Text},
                    {"bzmb", T::Number}, {"bzhx", T::Number}, {"bzqk", T::Text}, {"blfa", T::Text},
                    {"blcf", T::Text}, {"blsx", T::Text}, {"fzsj", T::Date}, {"zdys", T::Text}},
                   {{"zdbmi", {"blbm", "blkb", "blsj"}, true}}});
    all.push_back({QStringLiteral("fzzl"),
                   {{"blbm", T::Text}, {"blkb", T::Text}, {"blsj", T::Date}, {"blfz", T::Date}, {"zdys", T::Text}},
                   {{"blbmi", {"blbm"}, true}}});

    // System data row and users.
    std::vector<Column> system = texts("xt001 xt002 xt003 xt004 xt005 xt006");
    system.push_back({"xt007", T::Bytes});
    system.push_back({"xt008", T::Text});
    all.push_back({QStringLiteral("xtzlqk"), system, {}});
    all.push_back({QStringLiteral("yckpass"),
                   {{"passuser", T::Text}, {"passwods", T::Text}, {"passpids", T::Number}},
                   {{"passuseri", {"passuser"}, true}}});
    return all;
}

QString quoted(const QString& name)
{
    return u'"' + name + u'"';
}

}  // namespace

QString Column::declaration() const
{
    switch (type) {
    case T::Text: return QStringLiteral("TEXT COLLATE NOCASE");
    case T::Number: return QStringLiteral("REAL");
    case T::Date: return QStringLiteral("TEXT");
    case T::Bytes: return QStringLiteral("BLOB");
    }
    return {};
}

QString Column::collation() const
{
    return type == T::Text ? QStringLiteral("NOCASE") : QStringLiteral("BINARY");
}

QString Table::createStatements() const
{
    QStringList columnList;
    for (const Column& column : columns) columnList << quoted(column.name) + u' ' + column.declaration();
    QString sql = QStringLiteral("CREATE TABLE %1 (%2);\n").arg(quoted(name), columnList.join(QStringLiteral(", ")));
    for (const Index& index : indexes) {
        QStringList keys;
        for (const QString& column : index.columns) keys << quoted(column);
        sql += QStringLiteral("CREATE %1INDEX %2 ON %3 (%4);\n")
                   .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), quoted(name + u'_' + index.name),
                        quoted(name), keys.join(QStringLiteral(", ")));
    }
    return sql;
}

const std::vector<Table>& tables()
{
    static const std::vector<Table> all = describeTables();
    return all;
}

const Table* findTable(const QString& name)
{
    for (const Table& table : tables())
        if (table.name.compare(name, Qt::CaseInsensitive) == 0) return &table;
    return nullptr;
}

}  // namespace data
