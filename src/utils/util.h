#pragma once
#include <cstdint>
#include <string>

// Carry widget text from the IDE's render data to the toolkit intact: the
// render data protects backslashes with a marker before JSON parsing, and
// these restore them and decode escaped three-byte UTF-8 characters.
void util_replace_string_all(std::string& text, const std::string& from, const std::string& to);
void util_remove_garbage_backslash(std::string& text);
int util_replace_all_utf8_string(std::string& text);
// Decodes the first complete escape at or after `from`; returns its position or -1.
int util_convert_inner_utf8_string_to_utf8_character(std::string& text, size_t from = 0);
// Turns one twelve-character escape into its three bytes; -1 (text untouched) when it is not one.
int util_convert_utf8_string_to_utf8_character(std::string& chunk);
void util_remove_char(char* text, char c);
int64_t util_get_current_timestamp_ms();

// Why the engine must not open `path` as a file ("does not exist", "is a
// directory", "is a FIFO", "is a device", "is a socket"); null for a regular
// file. Decided with
// stat, which opens nothing: opening a FIFO blocks until some writer comes,
// and a device may never answer.
const char* util_file_refusal(const char* path);

// The marker that stands for a backslash while render data is parsed.
extern const char* const UTIL_BACKSLASH_MARKER;
