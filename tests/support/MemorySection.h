#pragma once
#include "configurator/ProfileSection.h"

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A profile section in memory that reads numbers as the private-profile
// functions do: leading digits with a sign, 0 when there are none.
class MemorySection : public ProfileSection {
public:
    MemorySection() = default;
    explicit MemorySection(std::map<std::string, std::string> values) : values_(std::move(values)) {}

    std::string ReadText(const char* key, const std::string& defaultText) override {
        const auto found = values_.find(key);
        return found == values_.end() ? defaultText : found->second;
    }
    int ReadInt(const char* key, int defaultValue) override {
        const auto found = values_.find(key);
        if (found == values_.end() || found->second.empty()) return defaultValue;
        return static_cast<int>(std::strtol(found->second.c_str(), nullptr, 10));
    }
    void Write(const char* key, const std::string& value) override {
        writes.emplace_back(key, value);
        values_[key] = value;
    }

    std::vector<std::pair<std::string, std::string>> writes;

private:
    std::map<std::string, std::string> values_;
};
