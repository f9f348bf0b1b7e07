#include "utils/util.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <cctype>

const char* const UTIL_BACKSLASH_MARKER = "`U+2109`";

namespace {

const size_t ESCAPE_LENGTH = 12; // three groups of backslash, x, two hex digits

int hex_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads the byte of one group; -1 unless it is backslash, x, two hex digits
// naming a non-zero byte. A NUL would cut the widget text short, so such an
// escape is left as written.
int group_byte(const std::string& text, size_t at)
{
    if (text[at] != '\\' || text[at + 1] != 'x')
        return -1;
    int hi = hex_value(text[at + 2]);
    int lo = hex_value(text[at + 3]);
    if (hi < 0 || lo < 0)
        return -1;
    int value = hi * 16 + lo;
    return value == 0 ? -1 : value;
}

bool is_escape_at(const std::string& text, size_t at)
{
    if (at + ESCAPE_LENGTH > text.size())
        return false;
    for (size_t k = 0; k < 3; ++k)
        if (group_byte(text, at + 4 * k) < 0)
            return false;
    return true;
}

} // namespace

// Replaces every occurrence, then looks again while the replacements made new
// ones: each pass is one linear scan, and the passes the render data needs
// (backslash to marker, marker to backslash) find nothing left after one.
void util_replace_string_all(std::string& text, const std::string& from, const std::string& to)
{
    // An empty pattern, or a replacement that contains the pattern, would never end.
    if (from.empty() || to.find(from) != std::string::npos)
        return;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from)) {
        std::string out;
        out.reserve(text.size());
        size_t copied = 0;
        for (; at != std::string::npos; at = text.find(from, copied)) {
            out.append(text, copied, at - copied);
            out += to;
            copied = at + from.size();
        }
        out.append(text, copied, std::string::npos);
        text.swap(out);
    }
}

void util_remove_garbage_backslash(std::string& text)
{
    std::string out;
    out.reserve(text.size());
    bool inRun = false;
    for (char c : text) {
        if (c != '\\') {
            out += c;
            inRun = false;
            continue;
        }
        if (!inRun)
            out += c;
        inRun = true;
    }
    text.swap(out);
}

int util_convert_utf8_string_to_utf8_character(std::string& chunk)
{
    if (chunk.size() != ESCAPE_LENGTH || !is_escape_at(chunk, 0))
        return -1;
    std::string bytes;
    for (size_t k = 0; k < 3; ++k)
        bytes += char(group_byte(chunk, 4 * k));
    chunk = bytes;
    return 0;
}

int util_convert_inner_utf8_string_to_utf8_character(std::string& text, size_t from)
{
    for (size_t at = text.find("\\x", from); at != std::string::npos; at = text.find("\\x", at + 1)) {
        if (!is_escape_at(text, at))
            continue;
        std::string chunk = text.substr(at, ESCAPE_LENGTH);
        util_convert_utf8_string_to_utf8_character(chunk);
        text.replace(at, ESCAPE_LENGTH, chunk);
        return int(at);
    }
    return -1;
}

// One pass that continues after the bytes just decoded, so decoded bytes
// that happen to spell an escape are never decoded a second time.
int util_replace_all_utf8_string(std::string& text)
{
    if (text.find("\\x") == std::string::npos)
        return 0;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (!is_escape_at(text, i)) {
            out += text[i++];
            continue;
        }
        for (size_t k = 0; k < 3; ++k)
            out += char(group_byte(text, i + 4 * k));
        i += ESCAPE_LENGTH;
    }
    text.swap(out);
    return 0;
}

void util_remove_char(char* text, char c)
{
    if (!text)
        return;
    char* out = text;
    for (char* in = text; *in; ++in)
        if (*in != c)
            *out++ = *in;
    *out = '\0';
}

int64_t util_get_current_timestamp_ms()
{
    timeval tv {};
    gettimeofday(&tv, nullptr);
    return int64_t(tv.tv_sec) * 1000 + tv.tv_usec / 1000;
}

const char* util_file_refusal(const char* path)
{
    struct stat st;
    if (!path || stat(path, &st) != 0)
        return "does not exist";
    if (S_ISREG(st.st_mode))
        return nullptr;
    if (S_ISDIR(st.st_mode))
        return "is a directory";
    if (S_ISFIFO(st.st_mode))
        return "is a FIFO";
    if (S_ISSOCK(st.st_mode))
        return "is a socket";
    return "is a device";
}
