#include <gtest/gtest.h>

#include "utils/util.h"

namespace {

std::string restored(std::string text)
{
    util_replace_string_all(text, "\\", UTIL_BACKSLASH_MARKER);
    util_replace_string_all(text, UTIL_BACKSLASH_MARKER, "\\");
    util_remove_garbage_backslash(text);
    util_replace_all_utf8_string(text);
    return text;
}

TEST(Escapes, ReplaceAllRestartsFromTheBeginning)
{
    std::string t = "aabb";
    util_replace_string_all(t, "ab", "a");
    EXPECT_EQ(t, "aa");
    std::string same = "no marker here";
    util_replace_string_all(same, UTIL_BACKSLASH_MARKER, "\\");
    EXPECT_EQ(same, "no marker here");
    std::string never = "abc";
    util_replace_string_all(never, "b", "bb"); // would never end: refused
    EXPECT_EQ(never, "abc");
}

TEST(Escapes, BackslashRunsCollapse)
{
    std::string t = "a\\\\\\\\b";
    util_remove_garbage_backslash(t);
    EXPECT_EQ(t, "a\\b");
    std::string single = "a\\b\\c";
    util_remove_garbage_backslash(single);
    EXPECT_EQ(single, "a\\b\\c");
}

TEST(Escapes, ThreeByteCharactersDecodeInPlaceEachTime)
{
    std::string t = "x\\xe2\\x84\\x89y\\xe2\\x84\\x89";
    util_replace_all_utf8_string(t);
    EXPECT_EQ(t, "x\xe2\x84\x89y\xe2\x84\x89");
    std::string plain = "nothing to decode";
    util_replace_all_utf8_string(plain);
    EXPECT_EQ(plain, "nothing to decode");
}

TEST(Escapes, RenderPathRoundTrip)
{
    EXPECT_EQ(restored("plain text"), "plain text");
    EXPECT_EQ(restored("a\\b"), "a\\b");
    EXPECT_EQ(restored("a\\\\\\b"), "a\\b");
    EXPECT_EQ(restored("\\xe2\\x84\\x89"), "\xe2\x84\x89");
}

TEST(Escapes, MalformedEscapesAreLeftAndNeverOverread)
{
    const char* cases[] = {
        "\\x",            // cut short
        "end\\xe2\\x84",  // two groups at the very end
        "\\xe2\\x84\\x8", // eleven characters
        "\\xg2\\x84\\x89", // not hexadecimal
        "\\xc3\\xa9 and more text", // a two-byte sequence followed by text
    };
    for (const char* c : cases) {
        std::string t = c;
        util_replace_all_utf8_string(t);
        EXPECT_EQ(t, c);
    }
}

TEST(Escapes, NulBytesAreNotDecodedAndDecodedBytesAreNotRescanned)
{
    std::string nul = "a\\x00\\x41\\x42b";
    util_replace_all_utf8_string(nul);
    EXPECT_EQ(nul, "a\\x00\\x41\\x42b");
    EXPECT_EQ(nul.find('\0'), std::string::npos);

    // Decodes to backslash, x, 'e' followed by text that completes an escape:
    // the result must not be decoded a second time.
    std::string twice = "\\x5c\\x78\\x652\\x84\\x89";
    util_replace_all_utf8_string(twice);
    EXPECT_EQ(twice, "\\xe2\\x84\\x89");
}

TEST(Escapes, SingleChunkConversion)
{
    std::string chunk = "\\xe2\\x84\\x89";
    EXPECT_EQ(util_convert_utf8_string_to_utf8_character(chunk), 0);
    EXPECT_EQ(chunk, "\xe2\x84\x89");
    std::string shorter = "\\xe2\\x84";
    EXPECT_EQ(util_convert_utf8_string_to_utf8_character(shorter), -1);
    EXPECT_EQ(shorter, "\\xe2\\x84");
    std::string text = "ab";
    EXPECT_EQ(util_convert_inner_utf8_string_to_utf8_character(text), -1);
}

TEST(Utilities, RemoveCharKeepsOrder)
{
    char text[] = "a-b--c-";
    util_remove_char(text, '-');
    EXPECT_STREQ(text, "abc");
    EXPECT_GT(util_get_current_timestamp_ms(), 1600000000000LL);
}

} // namespace
