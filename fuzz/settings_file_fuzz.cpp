// settings.dat on arbitrary bytes: read as the Settings window and the run read
// it, and written back, it reads the same again; its server field is an
// address or says why it is none.
#include "core/files/settings_file.h"
#include "core/model/text_file.h"
#include "core/publish/server_address.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace quenmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SiteSettings settings = parseSettings(splitLines(bytes));
    (void)pointMax(settings.pointMaxIndex);
    (void)penaltySeconds(settings.penaltyIndex);
    (void)alignWord(settings.alignIndex);
    const std::string text = settingsText(settings);
    require(parseSettings(splitLines(text)) == settings);
    require(settingsText(parseSettings(splitLines(text))) == text);
    const ParsedAddress parsed = parseServerAddress(settings.ftpServer);
    require(parsed.address.has_value() == parsed.problem.empty());
    if (parsed.address)
        require(!parsed.address->host.empty() && parsed.address->port >= 1 &&
                parsed.address->port <= 65535);
    return 0;
}
