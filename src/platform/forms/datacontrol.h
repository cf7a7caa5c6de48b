// The data control and the lists bound to it. A DataControl names a database file,
// its connect text and a record source (a table, an SQL text or a stored query); at
// Refresh it opens the file, reads every row into a snapshot and closes the file
// again, so no handle stays open behind a window. DBCombo and DBList show one column
// of that snapshot and refill whenever the control refreshes.
#pragma once

#include "platform/forms/lists.h"
#include "platform/vb/variant.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <vector>

namespace forms {

// The rows a data control read at its last Refresh.
class DataRecords {
public:
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    QString fieldName(int ordinal) const { return fields_.at(static_cast<std::size_t>(ordinal)); }
    int fieldIndex(const QString& name) const;      // -1 when absent (names compare without case)
    int recordCount() const { return static_cast<int>(rows_.size()); }

    // Any record's field (Null outside the rows).
    vb::Variant value(int row, int ordinal) const;
    // One column as texts (Null as ""), for the bound lists.
    QStringList columnTexts(const QString& name) const;

    void assign(QStringList fields, std::vector<std::vector<vb::Variant>> rows);

private:
    QStringList fields_;
    std::vector<std::vector<vb::Variant>> rows_;
};

class DataControl : public QObject {
    Q_OBJECT
public:
    explicit DataControl(QObject* parent = nullptr);

    void setDatabaseName(const QString& path) { databaseName_ = path; }
    void setConnect(const QString& connect) { connect_ = connect; }
    void setRecordSource(const QString& source) { recordSource_ = source; }

    // Reads the record source anew and refills the bound lists. Errors of the
    // database layer (dao::Error) reach the caller; the old rows stay then.
    void Refresh();
    DataRecords& Recordset() { return records_; }
    const DataRecords& Recordset() const { return records_; }

signals:
    void refreshed();

private:
    QString databaseName_;
    QString connect_;
    QString recordSource_;
    DataRecords records_;
};

// What DBCombo and DBList share: the data source and the column they show.
class DataBinding {
public:
    void setDataSource(DataControl* source);
    void setListField(const QString& column);

protected:
    explicit DataBinding(QObject* owner) : owner_(owner) {}
    virtual ~DataBinding() = default;
    QStringList boundTexts() const;
    virtual void refill() = 0;

private:
    QObject* owner_;                                // the bound control, for the connection's lifetime
    QPointer<DataControl> source_;
    QMetaObject::Connection connection_;
    QString listField_;
};

class DBCombo : public ComboBox, public DataBinding {
    Q_OBJECT
public:
    explicit DBCombo(QWidget* parent = nullptr, Style style = Style::DropDownCombo);
protected:
    void refill() override;
};

class DBList : public ListBox, public DataBinding {
    Q_OBJECT
public:
    explicit DBList(QWidget* parent = nullptr);
protected:
    void refill() override;
};

}  // namespace forms
