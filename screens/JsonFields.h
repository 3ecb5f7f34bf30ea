#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace screens {

// Every fault found in one description file, each as "file: json.path: reason".
class Faults {
public:
    explicit Faults(QString file) : m_file(std::move(file)) {}
    void add(const QString& path, const QString& reason);
    const QStringList& list() const { return m_list; }
    bool isEmpty() const { return m_list.isEmpty(); }
    const QString& file() const { return m_file; }

private:
    QString m_file;
    QStringList m_list;
};

// Reads one JSON object of a description key by key. Each read checks the value's JSON
// type; `finish` reports every key that nothing read. Faults carry the key's JSON path.
class Fields {
public:
    Fields(QJsonObject object, QString path, Faults& faults);

    bool has(const char* key) const { return m_object.contains(QLatin1String(key)); }
    // The JSON path of a key of this object ("activity.slots[3].rightMark").
    QString pathOf(const char* key) const;
    const QString& path() const { return m_path; }
    void fault(const char* key, const QString& reason);
    void fault(const QString& reason);
    // A key that this object may not carry here: a fault, whatever its value.
    void misplaced(const char* key, const QString& reason);
    Faults& faults() const { return m_faults; }

    // A missing optional key gives the fallback; a required one is a fault.
    QString string(const char* key, const QString& fallback = {});
    QString requiredString(const char* key);
    bool boolean(const char* key, bool fallback);
    int integer(const char* key, int fallback);
    double number(const char* key, double fallback);
    QStringList strings(const char* key);
    // Null when the key is missing (or is not an array, which is a fault).
    std::optional<QJsonArray> array(const char* key);
    std::optional<Fields> object(const char* key);
    // The element `index` of an array read from `key`, as an object.
    std::optional<Fields> element(const char* key, const QJsonArray& array, int index);

    // Reports the keys no read asked for.
    void finish();

private:
    QJsonValue take(const char* key);

    QJsonObject m_object;
    QString m_path;
    Faults& m_faults;
    QSet<QString> m_read;
};

} // namespace screens
