#pragma once
// A small reader of the start tags of an HTML page: enough for tests to
// check a page's structure (elements, classes, data attributes, text of a
// few elements) without matching the page's text as a whole.
#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace html_scan {

struct Element {
    std::string tag;
    std::map<std::string, std::string> attrs;
    std::string text;  // text up to the next tag
    bool hasClass(const std::string& c) const
    {
        auto it = attrs.find("class");
        if (it == attrs.end())
            return false;
        std::string s = " " + it->second + " ";
        return s.find(" " + c + " ") != std::string::npos;
    }
    std::string attr(const std::string& name) const
    {
        auto it = attrs.find(name);
        return it == attrs.end() ? "" : it->second;
    }
};

inline std::string unescape(const std::string& s)
{
    static const std::pair<const char*, const char*> ENTITIES[] = {
        { "&lt;", "<" }, { "&gt;", ">" }, { "&quot;", "\"" }, { "&#39;", "'" }, { "&amp;", "&" },
    };
    std::string out;
    for (size_t i = 0; i < s.size();) {
        bool hit = false;
        for (auto [from, to] : ENTITIES) {
            size_t n = std::char_traits<char>::length(from);
            if (s.compare(i, n, from) == 0) {
                out += to;
                i += n;
                hit = true;
                break;
            }
        }
        if (!hit)
            out += s[i++];
    }
    return out;
}

// Start tags in document order; the contents of <script> and <style> are skipped.
inline std::vector<Element> scan(const std::string& page)
{
    std::vector<Element> out;
    size_t i = 0;
    while ((i = page.find('<', i)) != std::string::npos) {
        if (page.compare(i, 4, "<!--") == 0) {
            i = page.find("-->", i);
            continue;
        }
        size_t end = page.find('>', i);
        if (end == std::string::npos)
            break;
        std::string tag = page.substr(i + 1, end - i - 1);
        i = end + 1;
        if (tag.empty() || tag[0] == '/' || tag[0] == '!')
            continue;
        Element e;
        size_t p = 0;
        while (p < tag.size() && !isspace(static_cast<unsigned char>(tag[p])) && tag[p] != '/')
            e.tag += char(tolower(static_cast<unsigned char>(tag[p++])));
        while (p < tag.size()) {
            while (p < tag.size() && (isspace(static_cast<unsigned char>(tag[p])) || tag[p] == '/'))
                ++p;
            std::string name;
            while (p < tag.size() && tag[p] != '=' && !isspace(static_cast<unsigned char>(tag[p])))
                name += tag[p++];
            std::string value;
            if (p < tag.size() && tag[p] == '=') {
                ++p;
                char q = p < tag.size() ? tag[p] : 0;
                if (q == '"' || q == '\'') {
                    size_t close = tag.find(q, p + 1);
                    value = tag.substr(p + 1, close - p - 1);
                    p = close == std::string::npos ? tag.size() : close + 1;
                } else {
                    while (p < tag.size() && !isspace(static_cast<unsigned char>(tag[p])))
                        value += tag[p++];
                }
            }
            if (!name.empty())
                e.attrs[name] = unescape(value);
        }
        size_t next = page.find('<', i);
        e.text = unescape(page.substr(i, next == std::string::npos ? std::string::npos : next - i));
        if (e.tag == "script" || e.tag == "style") {
            size_t close = page.find("</" + e.tag, i);
            i = close == std::string::npos ? page.size() : close;
            e.text.clear();
        }
        out.push_back(std::move(e));
    }
    return out;
}

}  // namespace html_scan
