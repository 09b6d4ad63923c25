// Settings kept by QSettings under organisation "KX", application "KXQuantorium" (an INI file
// in ~/.config/KX on Linux, the registry on Windows).
#pragma once

#include <QSettings>
#include <memory>

#include "app/settings_store.h"

namespace kq {

class QSettingsStore : public SettingsStore {
public:
    QSettingsStore();                              // the user's settings
    explicit QSettingsStore(const QString& file);  // an INI file (tests)

    std::optional<int> ReadInt(const std::string& group, const std::string& name) override;
    std::optional<bool> ReadBool(const std::string& group, const std::string& name) override;
    std::optional<std::string> ReadString(const std::string& group, const std::string& name) override;
    void WriteInt(const std::string& group, const std::string& name, int value) override;
    void WriteBool(const std::string& group, const std::string& name, bool value) override;
    void WriteString(const std::string& group, const std::string& name, const std::string& value) override;
    bool Has(const std::string& group, const std::string& name) override;
    bool Flush() override;
    std::string Error() const override { return error_; }

private:
    std::unique_ptr<QSettings> settings_;
    std::string error_;
};

}  // namespace kq
