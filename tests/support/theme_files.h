#pragma once
#include <Edje.h>
#include <Efreet.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Test themes compiled at build time, and reading theme files back.
namespace theme_files {

// For reading theme files in a test process. With its cache on, the toolkit
// starts the desktop-file daemon, which inherits the test's output and holds
// it open for seconds after the test ends: the suite would wait for it.
inline void edje_init_for_files()
{
    efreet_cache_disable();
    edje_init();
}

inline std::string theme(const char* name) { return std::string(TEST_THEMES_DIR) + "/" + name + ".edj"; }

// The groups of a theme file as the toolkit lists them.
inline std::vector<std::string> toolkit_groups(const std::string& file)
{
    Eina_List* list = edje_file_collection_list(file.c_str());
    std::vector<std::string> out;
    const Eina_List* l;
    void* name;
    EINA_LIST_FOREACH(list, l, name)
        out.push_back(static_cast<const char*>(name));
    edje_file_collection_list_free(list);
    return out;
}

inline std::set<std::string> group_set(const std::string& file)
{
    std::vector<std::string> groups = toolkit_groups(file);
    return { groups.begin(), groups.end() };
}

inline std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace theme_files
