// dao::Recordset, the handle the windows hold, forwarding to its table or dynaset
// implementation (recordset_impl.h), and the behaviour both kinds share.
#include "platform/dao/recordset_impl.h"

namespace dao {

void Recordset::Impl::unsupported()
{
    throw Error(3251, QStringLiteral("对于这种类型的记录集，该操作无效。"));
}

void noCurrentRecord()
{
    throw Error(3021, QStringLiteral("无当前记录。"));
}

void Recordset::Impl::setIndex(const QString&) { unsupported(); }
void Recordset::Impl::seek(const QString&, std::span<const vb::Variant* const>) { unsupported(); }
bool Recordset::Impl::noMatch() const { unsupported(); }
void Recordset::Impl::addNew() { unsupported(); }
void Recordset::Impl::edit() { unsupported(); }
void Recordset::Impl::update() { unsupported(); }
void Recordset::Impl::remove() { unsupported(); }
void Recordset::Impl::setField(int, const vb::Variant&) { unsupported(); }
void Recordset::Impl::setFieldBytes(int, const QByteArray&) { unsupported(); }

int Recordset::Impl::ordinalOf(const QString& name) const
{
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    throw Error(3265, QStringLiteral("在此记录集中找不到字段“%1”。").arg(name));
}

void Recordset::Impl::checkOrdinal(int ordinal) const
{
    if (ordinal < 0 || ordinal >= static_cast<int>(names.size()))
        throw Error(3265, QStringLiteral("在此记录集中找不到第 %1 个字段。").arg(ordinal));
}

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::Recordset(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

static Recordset::Impl& openOrThrow(const std::unique_ptr<Recordset::Impl>& impl)
{
    if (!impl) throw Error(3420, QStringLiteral("记录集已经关闭，对象无效。"));
    return *impl;
}

bool Recordset::isOpen() const { return impl_ != nullptr; }
void Recordset::close() { impl_.reset(); }

bool Recordset::eof() const { return openOrThrow(impl_).eof(); }
void Recordset::moveFirst() { openOrThrow(impl_).moveFirst(); }
void Recordset::moveLast() { openOrThrow(impl_).moveLast(); }
void Recordset::moveNext() { openOrThrow(impl_).moveNext(); }
int Recordset::recordCount() const { return openOrThrow(impl_).recordCount(); }

void Recordset::setIndex(const QString& indexName) { openOrThrow(impl_).setIndex(indexName); }

void Recordset::seek(const QString& op, const vb::Variant& k1, const vb::Variant& k2, const vb::Variant& k3)
{
    const vb::Variant* const keys[] = {&k1, &k2, &k3};
    size_t count = 3;
    while (count > 1 && keys[count - 1]->isNull()) --count;
    openOrThrow(impl_).seek(op, std::span(keys, count));
}

bool Recordset::noMatch() const { return openOrThrow(impl_).noMatch(); }
void Recordset::addNew() { openOrThrow(impl_).addNew(); }
void Recordset::edit() { openOrThrow(impl_).edit(); }
void Recordset::update() { openOrThrow(impl_).update(); }
void Recordset::remove() { openOrThrow(impl_).remove(); }

int Recordset::fieldCount() const { return static_cast<int>(openOrThrow(impl_).names.size()); }

QString Recordset::fieldName(int ordinal) const
{
    Impl& impl = openOrThrow(impl_);
    impl.checkOrdinal(ordinal);
    return impl.names[ordinal];
}

const vb::Variant& Recordset::field(int ordinal) const
{
    Impl& impl = openOrThrow(impl_);
    impl.checkOrdinal(ordinal);
    return impl.value(ordinal);
}

const vb::Variant& Recordset::field(const QString& name) const
{
    Impl& impl = openOrThrow(impl_);
    return impl.value(impl.ordinalOf(name));
}

QByteArray Recordset::fieldBytes(int ordinal) const
{
    Impl& impl = openOrThrow(impl_);
    impl.checkOrdinal(ordinal);
    if (const QByteArray* bytes = impl.blob(ordinal)) return *bytes;
    return impl.value(ordinal).toString().toUtf8();
}

void Recordset::setField(int ordinal, const vb::Variant& value)
{
    Impl& impl = openOrThrow(impl_);
    impl.checkOrdinal(ordinal);
    impl.setField(ordinal, value);
}

void Recordset::setField(const QString& name, const vb::Variant& value)
{
    Impl& impl = openOrThrow(impl_);
    impl.setField(impl.ordinalOf(name), value);
}

void Recordset::setFieldBytes(int ordinal, const QByteArray& bytes)
{
    Impl& impl = openOrThrow(impl_);
    impl.checkOrdinal(ordinal);
    impl.setFieldBytes(ordinal, bytes);
}

}  // namespace dao
