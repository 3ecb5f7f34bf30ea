#include "JsonFields.h"

#include <cmath>
#include <limits>

namespace screens {

void Faults::add(const QString& path, const QString& reason)
{
    m_list << (path.isEmpty() ? QStringLiteral("%1: %2").arg(m_file, reason)
                              : QStringLiteral("%1: %2: %3").arg(m_file, path, reason));
}

Fields::Fields(QJsonObject object, QString path, Faults& faults)
    : m_object(std::move(object)), m_path(std::move(path)), m_faults(faults)
{
}

QString Fields::pathOf(const char* key) const
{
    return m_path.isEmpty() ? QString::fromLatin1(key) : m_path + QLatin1Char('.') + QLatin1String(key);
}

void Fields::fault(const char* key, const QString& reason) { m_faults.add(pathOf(key), reason); }

void Fields::fault(const QString& reason) { m_faults.add(m_path, reason); }

void Fields::misplaced(const char* key, const QString& reason)
{
    if (!has(key))
        return;
    take(key);
    fault(key, reason);
}

QJsonValue Fields::take(const char* key)
{
    m_read.insert(QString::fromLatin1(key));
    return m_object.value(QLatin1String(key));
}

QString Fields::string(const char* key, const QString& fallback)
{
    const QJsonValue v = take(key);
    if (v.isUndefined())
        return fallback;
    if (!v.isString()) {
        fault(key, QStringLiteral("expected a string"));
        return fallback;
    }
    return v.toString();
}

QString Fields::requiredString(const char* key)
{
    if (!has(key)) {
        take(key);
        fault(key, QStringLiteral("missing"));
        return {};
    }
    const QString s = string(key);
    if (s.isEmpty() && m_object.value(QLatin1String(key)).isString())
        fault(key, QStringLiteral("empty"));
    return s;
}

bool Fields::boolean(const char* key, bool fallback)
{
    const QJsonValue v = take(key);
    if (v.isUndefined())
        return fallback;
    if (!v.isBool()) {
        fault(key, QStringLiteral("expected true or false"));
        return fallback;
    }
    return v.toBool();
}

double Fields::number(const char* key, double fallback)
{
    const QJsonValue v = take(key);
    if (v.isUndefined())
        return fallback;
    if (!v.isDouble()) {
        fault(key, QStringLiteral("expected a number"));
        return fallback;
    }
    return v.toDouble();
}

int Fields::integer(const char* key, int fallback)
{
    if (!has(key)) {
        take(key);
        return fallback;
    }
    const double v = number(key, fallback);
    if (v != std::floor(v) || std::abs(v) > std::numeric_limits<qint16>::max()) {
        fault(key, QStringLiteral("expected a whole number"));
        return fallback;
    }
    return int(v);
}

QStringList Fields::strings(const char* key)
{
    QStringList out;
    const auto list = array(key);
    if (!list)
        return out;
    for (int i = 0; i < list->size(); ++i) {
        if (!(*list)[i].isString())
            m_faults.add(QStringLiteral("%1[%2]").arg(pathOf(key)).arg(i), QStringLiteral("expected a control name"));
        else
            out << (*list)[i].toString();
    }
    return out;
}

std::optional<QJsonArray> Fields::array(const char* key)
{
    const QJsonValue v = take(key);
    if (v.isUndefined())
        return std::nullopt;
    if (!v.isArray()) {
        fault(key, QStringLiteral("expected an array"));
        return std::nullopt;
    }
    return v.toArray();
}

std::optional<Fields> Fields::object(const char* key)
{
    const QJsonValue v = take(key);
    if (v.isUndefined())
        return std::nullopt;
    if (!v.isObject()) {
        fault(key, QStringLiteral("expected an object"));
        return std::nullopt;
    }
    return Fields(v.toObject(), pathOf(key), m_faults);
}

std::optional<Fields> Fields::element(const char* key, const QJsonArray& array, int index)
{
    const QString path = QStringLiteral("%1[%2]").arg(pathOf(key)).arg(index);
    if (!array[index].isObject()) {
        m_faults.add(path, QStringLiteral("expected an object"));
        return std::nullopt;
    }
    return Fields(array[index].toObject(), path, m_faults);
}

void Fields::finish()
{
    for (auto it = m_object.begin(); it != m_object.end(); ++it)
        if (!m_read.contains(it.key()))
            m_faults.add(m_path.isEmpty() ? it.key() : m_path + QLatin1Char('.') + it.key(), QStringLiteral("unknown key"));
}

} // namespace screens
