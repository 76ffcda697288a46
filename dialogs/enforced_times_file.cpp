#include "dialogs/enforced_times_file.h"

// Filled in with the enforced-times work.
std::vector<EnforcedTime> readEnforcedTimes(const std::filesystem::path&) { return {}; }
void writeEnforcedTimes(const std::filesystem::path&, const std::vector<EnforcedTime>&) {}
void appendEnforcedTime(const std::filesystem::path&, const std::string&, int, int,
                        const std::string&) {}
std::string findEnforcedTime(const std::filesystem::path&, const std::string&, int, int) {
    return {};
}
void setEnforcedTime(const std::filesystem::path&, const std::string&, int, int,
                     const std::string&) {}
