#include "ui/qsettings_store.h"

namespace kq {
namespace {

QString Key(const std::string& group, const std::string& name) {
    return QString::fromStdString(group) + "/" + QString::fromStdString(name);
}

}  // namespace

QSettingsStore::QSettingsStore()
    : settings_(std::make_unique<QSettings>("KX", "KXQuantorium")) {}

QSettingsStore::QSettingsStore(const QString& file)
    : settings_(std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

std::optional<int> QSettingsStore::ReadInt(const std::string& group, const std::string& name) {
    const QVariant v = settings_->value(Key(group, name));
    if (!v.isValid()) return std::nullopt;
    int value = 0;
    if (!ParseStoredInt(v.toString().trimmed().toStdString(), value)) return std::nullopt;
    return value;
}

std::optional<bool> QSettingsStore::ReadBool(const std::string& group, const std::string& name) {
    const QVariant v = settings_->value(Key(group, name));
    if (!v.isValid()) return std::nullopt;
    bool value = false;
    if (!ParseStoredBool(v.toString().trimmed().toLower().toStdString(), value)) return std::nullopt;
    return value;
}

void QSettingsStore::WriteInt(const std::string& group, const std::string& name, int value) {
    settings_->setValue(Key(group, name), value);
}

void QSettingsStore::WriteBool(const std::string& group, const std::string& name, bool value) {
    settings_->setValue(Key(group, name), value);
}

void QSettingsStore::WriteString(const std::string& group, const std::string& name, const std::string& value) {
    settings_->setValue(Key(group, name), QString::fromStdString(value));
}

void QSettingsStore::Flush() { settings_->sync(); }

}  // namespace kq
