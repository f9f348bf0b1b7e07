// Number formats checked against the way the toolkit prints them (see
// value_shared.h): each conversion is read as the C library reads it, and the
// toolkit's own reading of the format is replayed to know what it passes.
#include <cctype>
#include <cstring>
#include <vector>

#include "components/adapters/widget_adapter/value_shared.h"

namespace {

enum class Passed { Nothing, Int, Double, String, Invalid };

// One conversion as printf reads it; "%%" is not one.
struct Conversion {
    bool star = false;         // '*' width or precision: an extra argument
    bool longDigits = false;   // a width or precision of more than three digits
    bool extraDot = false;     // "%1.2.3f": no longer a conversion printf knows
    std::string length;        // hh h l ll L q j z Z t
    char type = 0;             // 0 when the text ends inside the conversion
};

int skip_digits(const char*& p)
{
    int n = 0;
    for (; isdigit(static_cast<unsigned char>(*p)); ++p)
        ++n;
    return n;
}

std::vector<Conversion> conversions(const char* format)
{
    std::vector<Conversion> out;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        Conversion c;
        for (++p; *p && strchr("-+ #0'I", *p); ++p) {
        }
        c.star = *p == '*';
        p += c.star;
        c.longDigits = skip_digits(p) > 3;
        if (*p == '.') {
            ++p;
            c.star = c.star || *p == '*';
            p += *p == '*';
            c.longDigits = c.longDigits || skip_digits(p) > 3;
            c.extraDot = *p == '.';
        }
        for (; *p && strchr("hlLqjzZt", *p); ++p)
            c.length += *p;
        c.type = *p;
        out.push_back(c);
        if (!*p)
            break;
    }
    return out;
}

bool digits_or_dot(char c) { return isdigit(static_cast<unsigned char>(c)) || c == '.'; }

// The value type the toolkit's format helper passes for `format`.
Passed detected_value(const char* format)
{
    Passed passed = Passed::Nothing;
    bool found = false;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        if (p[1] == '%') {
            ++p;
            if (passed == Passed::Nothing)
                passed = Passed::String;
            continue;
        }
        if (found)
            return Passed::Invalid;
        found = true;
        for (++p; *p; ++p) {
            if (strchr("duioxX", *p)) {
                passed = Passed::Int;
                break;
            }
            if (strchr("fF", *p)) {
                passed = Passed::Double;
                break;
            }
            if (*p == 's') {
                passed = Passed::String;
                break;
            }
            if (!digits_or_dot(*p)) {
                found = false;
                break;
            }
        }
        if (!*p)
            break;
    }
    return passed;
}

// What the spinner accepts: one conversion of digits, '.' and d i u o x X or
// f F, besides any "%%"; Invalid for anything else, which it refuses to set.
Passed spinner_value(const char* format)
{
    Passed passed = Passed::Invalid;
    bool found = false;
    for (const char* p = strchr(format, '%'); p; p = strchr(p + 2, '%')) {
        if (p[1] == '%')
            continue;
        if (found || !p[1])
            return Passed::Invalid;
        found = true;
        const char* q = p + 1;
        while (digits_or_dot(*q))
            ++q;
        if (!strchr("duioxXfF", *q) || !*q)
            return Passed::Invalid;
        passed = strchr("fF", *q) ? Passed::Double : Passed::Int;
    }
    return passed;
}

bool prints_exactly(const std::vector<Conversion>& all, Passed passed)
{
    if (all.empty())
        return true;
    if (all.size() > 1 || passed == Passed::Nothing)
        return false;
    const Conversion& c = all[0];
    if (c.star || c.longDigits || c.extraDot || !c.length.empty() || !c.type)
        return false;
    switch (passed) {
    case Passed::Int:
        return strchr("diuoxX", c.type);
    case Passed::Double:
        return strchr("fFeEgGaA", c.type);
    case Passed::String:
        return c.type == 's';
    default:
        return false;
    }
}

} // namespace

bool value_format_safe(const char* format, FormatUse use)
{
    if (!format)
        return true;
    std::vector<Conversion> all = conversions(format);
    switch (use) {
    case FormatUse::Double:
        return prints_exactly(all, Passed::Double);
    case FormatUse::SpinnerLabel: {
        Passed passed = spinner_value(format);
        return passed != Passed::Invalid && prints_exactly(all, passed);
    }
    case FormatUse::DetectedValue:
        break;
    }
    Passed passed = detected_value(format);
    // Shown as it is, or the bare value instead: printf never sees it.
    if (passed == Passed::Nothing || passed == Passed::Invalid)
        return true;
    if (passed == Passed::String && all.empty())
        return true;
    return prints_exactly(all, passed);
}

bool value_format_accepted(Evas_Object* obj, const std::string& format, FormatUse use)
{
    if (value_format_safe(format.c_str(), use))
        return true;
    const char* how = use == FormatUse::Double ? "with one real number"
        : use == FormatUse::SpinnerLabel       ? "by the spinner"
                                               : "with the value";
    node_diag(obj, "format \"%s\" cannot be printed %s; ignored", format.c_str(), how);
    return false;
}
