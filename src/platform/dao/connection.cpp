// Shared connections, prepared statements and the translation of SQLite failures into
// the layer's errors; see connection.h.
#include "platform/dao/connection.h"

#include "platform/dao/dialect.h"
#include "platform/dao/fault_injector.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QStringEncoder>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dao {

namespace {

QMutex registryMutex;
// Never destroyed: a handle kept in a static (the program's held connection) may
// close after the ends of other statics.
QHash<QString, std::weak_ptr<Connection>>& registry()
{
    static auto* const connections = new QHash<QString, std::weak_ptr<Connection>>;
    return *connections;
}

constexpr int cipherPageSize = 1024;   // SQLCipher 3's page size

QString sqliteMessage(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
}

// Why a file that exists could not be read as a database with this password.
Error unreadableFile(const QString& path)
{
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error(3051, QStringLiteral("没有读取数据库文件“%1”的权限，不能打开。").arg(name));
    const QByteArray head = file.read(16);
    const qint64 size = file.size();
    if (size == 0)
        return Error(3343, QStringLiteral("数据库文件“%1”是空的，不是可用的数据库。").arg(name));
    if (head.startsWith(QByteArrayLiteral("SQLite format 3")))
        return Error(3343, QStringLiteral("“%1”不是加密的本系统数据库文件。").arg(name));
    if (size % cipherPageSize != 0)
        return Error(3343, QStringLiteral("数据库文件“%1”已损坏，或者不是数据库文件（不可识别的数据库格式）。").arg(name));
    return Error(3031, QStringLiteral("不是有效的密码，或者数据库文件“%1”已损坏。").arg(name));
}

// A file read without writing can't roll back the journal of a transaction that
// another program left unfinished beside it; its data are not whole without that.
Error unfinishedJournal(const QString& path)
{
    return Error(3051, QStringLiteral("数据库文件“%1”旁边有一个未完成事务的日志文件“%1-journal”，"
                                      "文件中的数据不完整，不能从中读取。")
                           .arg(QDir::toNativeSeparators(path)));
}

bool mayWrite(const QString& path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

// Why a change to an open database file was refused: a full disk, the file or its
// folder without write permission (the folder must take the file's journal).
Error refusedWrite(sqlite3* db, int code, const QString& where)
{
    const QString path = QString::fromUtf8(sqlite3_db_filename(db, "main"));
    const QString file = QDir::toNativeSeparators(path);
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    if (code == SQLITE_FULL)
        return Error(3026, QStringLiteral("磁盘空间不足，不能保存对数据库文件“%1”的修改。").arg(file) + where);
    const bool fileWritable = mayWrite(path);
    if (fileWritable && !mayWrite(QFileInfo(path).absolutePath()))
        return Error(3051, QStringLiteral("数据库文件所在的文件夹“%1”不允许写入，不能保存修改。").arg(folder) + where);
    if (code == SQLITE_READONLY || !fileWritable)
        return Error(3027, QStringLiteral("不能更新，数据库文件“%1”是只读的。").arg(file) + where);
    return Error(3051, QStringLiteral("不能打开数据库文件“%1”。").arg(file) + where);
}

// BEGIN IMMEDIATE counts as writing for SQLite; for the layer it only starts one.
bool isTransactionControl(const char* sql)
{
    static const QRegularExpression control(QStringLiteral("^\\s*(begin|commit|end|rollback|savepoint|release)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    return control.match(QString::fromUtf8(sql)).hasMatch();
}

}  // namespace

Error movedDatabase(const QString& path)
{
    return Error(MovedDatabaseNumber, QStringLiteral("数据库文件“%1”已被移走、删除或换成了别的文件，本程序没有写入任何数据；"
                                      "请退出并重新启动本系统。")
                           .arg(QDir::toNativeSeparators(path)));
}

Error sqliteError(sqlite3* db, int code, const QString& context)
{
    const QString detail = sqliteMessage(db);
    const QString where = context.isEmpty() ? QString() : QStringLiteral("（%1）").arg(context);
    const int extended = db ? sqlite3_extended_errcode(db) : code;
    const QString path = db && sqlite3_db_filename(db, "main") ? QString::fromUtf8(sqlite3_db_filename(db, "main")) : QString();
    if (extended == SQLITE_READONLY_DBMOVED) return movedDatabase(path);
    switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
        if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
            return Error(3022, QStringLiteral("由于将在索引或主关键字中创建重复的值，请求对表的改变没有成功。") + where);
        break;   // a refusal of another kind says what refused
    case SQLITE_NOTADB:
        return Error(3343, QStringLiteral("不可识别的数据库格式。") + where);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Error(3260, QStringLiteral("数据库正被其他程序使用，暂时不能读写。") + where);
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
        if (db && sqlite3_db_filename(db, "main")) return refusedWrite(db, code & 0xff, where);
        return Error(3051, QStringLiteral("不能打开数据库文件。") + where);
    case SQLITE_IOERR:
        return Error(3043, QStringLiteral("磁盘或网络读写错误。") + where);
    case SQLITE_CORRUPT:
        return Error(3049, QStringLiteral("数据库文件已损坏。") + where);
    default:
        break;
    }
    static const QRegularExpression noTable(QStringLiteral("no such (table|view): (\\S+)"));
    static const QRegularExpression noColumn(QStringLiteral("no such column: (\\S+)"));
    if (const auto m = noTable.match(detail); m.hasMatch())
        return Error(3078, QStringLiteral("找不到输入表或查询“%1”。").arg(m.captured(2)) + where);
    if (const auto m = noColumn.match(detail); m.hasMatch())
        return Error(3061, QStringLiteral("参数不足：找不到字段“%1”。").arg(m.captured(1)) + where);
    if (detail.contains(QLatin1String("syntax error")))
        return Error(3075, QStringLiteral("SQL 语句的语法错误（%1）。").arg(detail) + where);
    return Error(3000, QStringLiteral("数据库操作失败（%1）。").arg(detail) + where);
}

QString passwordFromConnect(const QString& connect)
{
    static const QRegularExpression pwd(QStringLiteral("(?:^|;)\\s*pwd\\s*=([^;]*)"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pwd.match(connect);
    return m.hasMatch() ? m.captured(1) : QString();
}

bool writesAhead(sqlite3* db)
{
    Statement mode(db, QStringLiteral("PRAGMA journal_mode"));
    return mode.step() && mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
}

// ---- Statement

Statement::Statement(sqlite3* db, const QString& sql) : Statement(db, sql.toUtf8().constData(), nullptr)
{
    if (!stmt_) throw Error(3075, QStringLiteral("SQL 语句是空的。"));
}

Statement::Statement(sqlite3* db, const char* utf8, const char** tail) : db_(db)
{
    const int rc = sqlite3_prepare_v2(db, utf8, -1, &stmt_, tail);
    if (rc != SQLITE_OK) {
        Error error = sqliteError(db, rc);
        sqlite3_finalize(stmt_);
        throw error;
    }
    write_ = stmt_ && !sqlite3_stmt_readonly(stmt_) && !isTransactionControl(sqlite3_sql(stmt_));
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

void Statement::bind(int position, const vb::Variant& value)
{
    int rc = SQLITE_OK;
    switch (value.type()) {
    case vb::Variant::Type::Null: rc = sqlite3_bind_null(stmt_, position); break;
    case vb::Variant::Type::Number:
    case vb::Variant::Type::Currency: rc = sqlite3_bind_double(stmt_, position, value.toDouble()); break;
    case vb::Variant::Type::Text:
    case vb::Variant::Type::Date: {
        // Encoded into the position's own buffer, which stays until the position is
        // bound again: a loop of binds and steps allocates nothing, and SQLite reads
        // the text where it lies.
        if (texts_.size() < static_cast<size_t>(position)) texts_.resize(static_cast<size_t>(position));
        std::vector<char>& buffer = texts_[static_cast<size_t>(position) - 1];
        const QString text = value.toString();
        buffer.resize(static_cast<size_t>(text.size()) * 3 + 1);   // at most 3 bytes a UTF-16 unit
        thread_local QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        const char* end = encoder.appendToBuffer(buffer.data(), text);
        rc = sqlite3_bind_text(stmt_, position, buffer.data(), static_cast<int>(end - buffer.data()), SQLITE_STATIC);
        break;
    }
    }
    if (rc != SQLITE_OK) throw sqliteError(db_, rc);
}

void Statement::bindBytes(int position, const QByteArray& bytes)
{
    const int rc = sqlite3_bind_blob(stmt_, position, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) throw sqliteError(db_, rc);
}

bool Statement::step()
{
    if (write_ && !sqlite3_stmt_busy(stmt_)) WriteFault::beforeWrite();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Error error = sqliteError(db_, rc);
    sqlite3_reset(stmt_);
    throw error;
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

namespace {

vb::Variant valueOfType(sqlite3_stmt* stmt, int column, int type)
{
    switch (type) {
    case SQLITE_INTEGER:
        return vb::Variant(static_cast<double>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return vb::Variant(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return vb::Variant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)));
    }
    default:   // NULL; a blob is read with read()
        return {};
    }
}

}  // namespace

vb::Variant Statement::value(int column) const
{
    return valueOfType(stmt_, column, sqlite3_column_type(stmt_, column));
}

bool Statement::read(int column, vb::Variant& value, QByteArray& bytes) const
{
    const int type = sqlite3_column_type(stmt_, column);
    if (type == SQLITE_BLOB) {
        const void* data = sqlite3_column_blob(stmt_, column);
        bytes = QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, column));
        value = {};
        return true;
    }
    value = valueOfType(stmt_, column, type);
    return false;
}

// ---- Connection

std::shared_ptr<Connection> Connection::acquire(const QString& path, const QString& password, bool create,
                                                bool readOnly)
{
    const QFileInfo info(path);
    QString key;
    if (create) {
        if (info.exists()) throw Error(3204, QStringLiteral("数据库“%1”已经存在。").arg(info.fileName()));
        key = info.absoluteFilePath();
    } else {
        if (!info.exists() && Connection::isOpen(info.absoluteFilePath())) throw movedDatabase(path);
        if (!info.exists() || !info.isFile())
            throw Error(3024, QStringLiteral("找不到文件“%1”。").arg(QDir::toNativeSeparators(path)));
        key = info.canonicalFilePath();
    }

    QMutexLocker lock(&registryMutex);
    // A reader takes the file's writing connection when one is open (its reads then
    // see that connection's own open transaction); otherwise it keeps a connection of
    // its own that can't write, under a key of its own.
    std::shared_ptr<Connection> open = registry().value(key).lock();
    if (!open && readOnly) {
        key += QStringLiteral("\n(read-only)");
        open = registry().value(key).lock();
    }
    if (open) {
        open->checkStillInPlace(path);
        if (open->password_ != password)
            throw Error(3031, QStringLiteral("不是有效的密码。"));
        return open;
    }
    if (!create && info.size() == 0) throw unreadableFile(path);

    sqlite3* db = nullptr;
    // A connection serves one thread, the windows' own, so SQLite need not lock it
    // around every call.
    const int flags = SQLITE_OPEN_NOMUTEX
                      | (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0));
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        Error error = create || QFile(path).open(QIODevice::ReadOnly) ? sqliteError(db, rc, QDir::toNativeSeparators(path))
                                                                      : unreadableFile(path);
        sqlite3_close(db);
        throw error;
    }
    // Set before the first read, so that opening while another program commits waits
    // for it as every later read does.
    sqlite3_busy_timeout(db, 5000);
    if (!password.isEmpty()) {
        const QByteArray secret = password.toUtf8();
        sqlite3_key(db, secret.constData(), static_cast<int>(secret.size()));
    }
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        if (create) QFile::remove(path);
        if (readOnly && QFileInfo(path + QStringLiteral("-journal")).size() > 0) throw unfinishedJournal(path);
        throw rc == SQLITE_NOTADB ? unreadableFile(path) : sqliteError(nullptr, rc, QDir::toNativeSeparators(path));
    }
    // Sorts in memory; a page cache that holds the tables a window reads through, up
    // to 64 MB: the knowledge bases of a clinic with ten times the usual data fit, so a
    // dictionary rebuild's passes over a table decrypt each page once (decrypting a
    // page again costs more than reading it). Pages are kept only as they are read.
    sqlite3_exec(db, "PRAGMA temp_store=MEMORY; PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    dialect::registerOn(db);

    std::shared_ptr<Connection> connection(new Connection(key, db, password));
    struct stat opened {};
    if (::stat(QFile::encodeName(path).constData(), &opened) == 0) {
        connection->device_ = opened.st_dev;
        connection->inode_ = opened.st_ino;
    }
    registry().insert(key, connection);
    return connection;
}

bool Connection::isOpen(const QString& path)
{
    const QFileInfo info(path);
    const QString key = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    QMutexLocker lock(&registryMutex);
    return !key.isEmpty() && !registry().value(key).expired();
}

void Connection::checkStillInPlace(const QString& path) const
{
    struct stat now {};
    if (::stat(QFile::encodeName(path).constData(), &now) != 0 || now.st_dev != device_ || now.st_ino != inode_)
        throw movedDatabase(path);
}

Connection::Connection(const QString& key, sqlite3* db, const QString& password)
    : key_(key), db_(db), password_(password)
{
}

Connection::~Connection()
{
    reusable_.clear();   // finalized before the connection closes
    if (inTransaction_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    QMutexLocker lock(&registryMutex);
    auto it = registry().find(key_);
    if (it != registry().end() && it->expired()) registry().erase(it);
}

Statement& Connection::reusable(const QString& sql)
{
    constexpr qsizetype Kept = 48;
    if (const auto found = reusable_.constFind(sql); found != reusable_.cend()) return **found;
    auto statement = std::make_shared<Statement>(db_, sql);
    if (reusable_.size() >= Kept) reusable_.clear();
    return *reusable_.insert(sql, std::move(statement)).value();
}

const StoredQuery* Connection::findQuery(const QString& name) const
{
    for (const StoredQuery& query : queries)
        if (query.name.compare(name, Qt::CaseInsensitive) == 0) return &query;
    return nullptr;
}

void Connection::run(const QString& sql)
{
    Statement statement(db_, sql);
    while (statement.step()) {
    }
}

void Connection::begin()
{
    run(QStringLiteral("BEGIN IMMEDIATE"));
    inTransaction_ = true;
    doomed_ = false;
}

void Connection::commit()
{
    if (doomed_) {
        rollback();
        throw Error(3034, QStringLiteral("事务中有一步没有完成，全部修改已经撤消。"));
    }
    try {
        run(QStringLiteral("COMMIT"));
    } catch (const Error&) {
        // A refused COMMIT leaves the engine's transaction open; ending it here keeps
        // later work on this connection from joining a transaction nobody commits.
        rollback();
        throw;
    }
    inTransaction_ = false;
}

void Connection::rollback()
{
    inTransaction_ = false;
    doomed_ = false;
    ++rollbacks_;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

}  // namespace dao
