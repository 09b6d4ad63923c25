#include "ui/qsettings_store.h"

#include <QDir>
#include <QFileInfo>

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

// A value the file holds as a list (commas unquoted) is no text.
std::optional<std::string> QSettingsStore::ReadString(const std::string& group, const std::string& name) {
    const QVariant v = settings_->value(Key(group, name));
    if (!v.isValid() || v.typeId() != QMetaType::QString) return std::nullopt;
    return v.toString().toStdString();
}

bool QSettingsStore::Has(const std::string& group, const std::string& name) {
    return settings_->contains(Key(group, name));
}

bool QSettingsStore::Flush() {
    settings_->sync();
    if (settings_->status() == QSettings::NoError) return true;
    const QString path = settings_->fileName();
    const QFileInfo info(path);
    QString why;
    if (info.isDir()) why = QStringLiteral("на месте файла настроек находится папка");
    else if (info.exists() && !info.isWritable()) why = QStringLiteral("файл доступен только для чтения");
    else if (settings_->status() == QSettings::FormatError) why = QStringLiteral("файл настроек повреждён");
    else why = QStringLiteral("нет доступа к файлу или папке");
    error_ = QStringLiteral("Не удалось сохранить настройки в «%1»: %2.")
                 .arg(QDir::toNativeSeparators(path), why)
                 .toStdString();
    return false;
}

}  // namespace kq
