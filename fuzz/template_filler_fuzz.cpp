// The template filler on arbitrary templates and member data: whatever the data
// holds, marker text in it is never replaced again, so the page grows at most
// by what each template line's markers can take.
// Input: an inline text, NUL, a row text, NUL, the template.
#include "core/model/text_file.h"
#include "core/pages/template_filler.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace quenmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view inlineText = nextPart(bytes);
    const std::string_view rowText = nextPart(bytes);
    const std::string_view templateText = bytes;

    std::size_t calls = 0;
    std::size_t rowBytes = 0;
    const std::string page = fillTemplateText(templateText, "templates/t.html", 0,
                                              [&](int marker, std::string& line, PageOutput& out) {
                                                  ++calls;
                                                  switch (marker % 3) {
                                                  case 1:
                                                      replaceMarkers(line, inlineText);
                                                      break;
                                                  case 2:
                                                      out.line(rowText);
                                                      rowBytes += rowText.size() + 2;
                                                      endTable(line);
                                                      break;
                                                  default:
                                                      break; // a number without meaning
                                                  }
                                              });
    require(calls <= templateText.size());
    std::size_t bound = rowBytes;
    for (const std::string& line : splitLines(templateText))
        bound += line.size() + (line.size() / 3) * inlineText.size() + 2;
    require(page.size() <= bound);
    return 0;
}
