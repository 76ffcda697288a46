#include "platform/path_text.h"

#include <gtest/gtest.h>

namespace quenmark {

// A main folder named outside ASCII reaches the file system as the same bytes
// it was typed as, and comes back to the window unchanged.
TEST(PathText, NamesOutsideAsciiKeepTheirBytes) {
    const std::filesystem::path path = "/tmp/Zo\xc3\xab \xe2\x82\xac/upload";
    const QString text = QString::fromUtf8("/tmp/Zo\xc3\xab \xe2\x82\xac/upload");
    EXPECT_EQ(textFromPath(path), text);
    EXPECT_EQ(pathFromText(text), path);
}

} // namespace quenmark
