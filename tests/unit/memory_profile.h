// In-memory ProfileStore for tests. Every call is recorded in log() as
// "<Operation> <section>/<key>" so tests can check the order of reads and writes.
#pragma once

#include <map>
#include <string>
#include <variant>
#include <vector>

#include "framework/profile_store.h"

class MemoryProfile : public ProfileStore {
public:
    using Value = std::variant<int, std::string>;

    int GetInt(const std::string& section, const std::string& key, int defaultValue) override {
        Record("GetInt", section, key);
        const Value* value = Find(section, key);
        return value && std::holds_alternative<int>(*value) ? std::get<int>(*value) : defaultValue;
    }
    std::string GetString(const std::string& section,
                          const std::string& key,
                          const std::string& defaultValue) override {
        Record("GetString", section, key);
        const Value* value = Find(section, key);
        return value && std::holds_alternative<std::string>(*value) ? std::get<std::string>(*value) : defaultValue;
    }
    void WriteInt(const std::string& section, const std::string& key, int value) override {
        Record("WriteInt", section, key);
        sections_[section][key] = value;
    }
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override {
        Record("WriteString", section, key);
        sections_[section][key] = value;
    }
    void DeleteValue(const std::string& section, const std::string& key) override {
        Record("DeleteValue", section, key);
        auto it = sections_.find(section);
        if (it != sections_.end())
            it->second.erase(key);
    }
    std::vector<std::string> ValueNames(const std::string& section) override {
        std::vector<std::string> names;
        auto it = sections_.find(section);
        if (it != sections_.end()) {
            for (const auto& [name, value] : it->second)
                names.push_back(name);
        }
        return names;
    }

    std::map<std::string, std::string> ReadSection(const std::string& section) override {
        Record("ReadSection", section, "");
        std::map<std::string, std::string> values;
        auto it = sections_.find(section);
        if (it != sections_.end()) {
            for (const auto& [name, value] : it->second)
                values[name] = std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "";
        }
        return values;
    }

    // Direct access without logging, for setting up and inspecting the store.
    void Set(const std::string& section, const std::string& key, Value value) { sections_[section][key] = value; }
    void SetStrings(const std::string& section, const std::map<std::string, std::string>& values) {
        for (const auto& [key, value] : values)
            sections_[section][key] = value;
    }
    bool Has(const std::string& section, const std::string& key) const { return Find(section, key) != nullptr; }
    std::string StringAt(const std::string& section, const std::string& key) const {
        const Value* value = Find(section, key);
        return value && std::holds_alternative<std::string>(*value) ? std::get<std::string>(*value) : "<none>";
    }
    int IntAt(const std::string& section, const std::string& key) const {
        const Value* value = Find(section, key);
        return value && std::holds_alternative<int>(*value) ? std::get<int>(*value) : -999;
    }
    size_t CountIn(const std::string& section) const {
        auto it = sections_.find(section);
        return it == sections_.end() ? 0 : it->second.size();
    }

    const std::vector<std::string>& log() const { return log_; }
    void ClearLog() { log_.clear(); }
    // Log position of an entry, or -1.
    int IndexOf(const std::string& entry) const {
        for (size_t i = 0; i < log_.size(); ++i) {
            if (log_[i] == entry)
                return static_cast<int>(i);
        }
        return -1;
    }

private:
    void Record(const char* operation, const std::string& section, const std::string& key) {
        log_.push_back(std::string(operation) + " " + section + "/" + key);
    }
    const Value* Find(const std::string& section, const std::string& key) const {
        auto it = sections_.find(section);
        if (it == sections_.end())
            return nullptr;
        auto value = it->second.find(key);
        return value == it->second.end() ? nullptr : &value->second;
    }

    std::map<std::string, std::map<std::string, Value>> sections_;
    std::vector<std::string> log_;
};
