// Where settings live: three groups of named values. The program uses QSettings; tests use
// the in-memory store below.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kq {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Nothing when the value is missing or is not of the type asked for.
    virtual std::optional<int> ReadInt(const std::string& group, const std::string& name) = 0;
    virtual std::optional<bool> ReadBool(const std::string& group, const std::string& name) = 0;
    virtual std::optional<std::string> ReadString(const std::string& group, const std::string& name) = 0;
    virtual void WriteInt(const std::string& group, const std::string& name, int value) = 0;
    virtual void WriteBool(const std::string& group, const std::string& name, bool value) = 0;
    virtual void WriteString(const std::string& group, const std::string& name, const std::string& value) = 0;
    virtual bool Has(const std::string& group, const std::string& name) = 0;
    // Makes what was written durable; false when the store could not keep it.
    virtual bool Flush() { return true; }
    // Why the last Flush failed, for the user (Russian).
    virtual std::string Error() const { return {}; }
};

// Values kept as text, the way an INI file holds them.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<int> ReadInt(const std::string& group, const std::string& name) override;
    std::optional<bool> ReadBool(const std::string& group, const std::string& name) override;
    std::optional<std::string> ReadString(const std::string& group, const std::string& name) override;
    void WriteInt(const std::string& group, const std::string& name, int value) override;
    void WriteBool(const std::string& group, const std::string& name, bool value) override;
    void WriteString(const std::string& group, const std::string& name, const std::string& value) override;
    bool Has(const std::string& group, const std::string& name) override;
    bool Flush() override { return flushError.empty(); }
    std::string Error() const override { return flushError; }

    std::map<std::string, std::string> values;  // "Group/Name" -> text
    std::vector<std::string> writes;             // "Group/Name" in the order written
    std::string flushError;                      // tests: a store that cannot keep its values
};

// Reading an int or a bool out of stored text; false for anything else.
bool ParseStoredInt(const std::string& text, int& value);
bool ParseStoredBool(const std::string& text, bool& value);

}  // namespace kq
