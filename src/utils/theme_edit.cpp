#define EDJE_EDIT_IS_UNSTABLE_AND_I_KNOW_ABOUT_IT
#include <Ecore_Evas.h>
#include <Ecore_File.h>
#include <Edje.h>
#include <Edje_Edit.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "utils/log_util.h"
#include "utils/theme_util.h"
#include "utils/util.h"

namespace {

ThemeSaveFn g_theme_save = edje_edit_save_all;

std::set<std::string> group_set(const Eina_List* groups)
{
    std::set<std::string> names;
    const Eina_List* l;
    void* group;
    EINA_LIST_FOREACH(groups, l, group)
    {
        names.insert(static_cast<const char*>(group));
    }
    return names;
}

// Takes the file off the theme's overlays; true when it was one.
bool overlay_lift(Elm_Theme* theme, const char* file)
{
    const Eina_List* l;
    void* entry;
    EINA_LIST_FOREACH(elm_theme_overlay_list_get(theme), l, entry)
    {
        if (entry && strcmp(static_cast<const char*>(entry), file) == 0) {
            elm_theme_overlay_del(theme, file);
            return true;
        }
    }
    return false;
}

bool copy_into(const char* from, int to)
{
    int in = open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        ssize_t n = read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            ssize_t w = write(to, buffer + done, n - done);
            if (w < 0 && errno == EINTR)
                continue;
            ok = w > 0;
            done += ok ? w : 0;
        }
        if (!ok)
            break;
    }
    close(in);
    return ok;
}

bool edit_and_save(const char* file, const char* keep, const char* group)
{
    Ecore_Evas* canvas = ecore_evas_buffer_new(0, 0);
    if (!canvas)
        return false;
    Evas_Object* edit = edje_edit_object_add(ecore_evas_get(canvas));
    // Opened on another group: the toolkit refuses to delete the open one.
    bool ok = edit && edje_object_file_set(edit, file, keep) && edje_edit_group_del(edit, group)
        && g_theme_save(edit);
    if (edit)
        evas_object_del(edit);
    ecore_evas_free(canvas);
    return ok;
}

// The toolkit's save rewrites the file it edits in place and reports success
// even when its write came up short, which would leave a broken theme. So the
// group is deleted in a copy beside the file, and the copy replaces the file
// only once it lists exactly the groups expected.
bool rewrite_without(const char* file, const char* keep, const char* group, const std::set<std::string>& expected)
{
    char target[PATH_MAX];
    struct stat st;
    if (!realpath(file, target) || stat(target, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    std::string copy = std::string(target) + ".XXXXXX";
    int fd = mkostemp(copy.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = copy_into(target, fd);
    ok = close(fd) == 0 && ok;
    ok = ok && edit_and_save(copy.c_str(), keep, group);
    if (ok) {
        Eina_List* written = edje_file_collection_list(copy.c_str());
        ok = written && group_set(written) == expected;
        edje_file_collection_list_free(written);
    }
    ok = ok && chmod(copy.c_str(), st.st_mode & 07777) == 0 && rename(copy.c_str(), target) == 0;
    if (!ok)
        unlink(copy.c_str());
    return ok;
}

// Removes, in list order, each group of `widget` for which `match` returns a
// name (a shared string); the count removed, or -1 at the first failure.
template <class Match>
int remove_groups(const char* file, const char* widget, Elm_Theme* theme, Match match)
{
    if (!file || !widget || !theme_file_usable(file, "no group removed"))
        return 0;
    Eina_List* groups = edje_file_collection_list(file);
    int count = 0;
    const Eina_List* l;
    void* data;
    EINA_LIST_FOREACH(groups, l, data)
    {
        auto* group = static_cast<const char*>(data);
        const char* widgetName = widget_name_get(group);
        const char* matched = widgetName && strcmp(widgetName, widget) == 0 ? match(group) : nullptr;
        if (matched && !group_del(file, group, theme)) {
            releaseStyleResources(widgetName, matched, groups);
            return -1;
        }
        count += matched ? 1 : 0;
        releaseStyleResources(widgetName, matched, nullptr);
    }
    releaseStyleResources(nullptr, nullptr, groups);
    return count;
}

bool same_name(const char* name, const char* wanted) { return name && strcmp(name, wanted) == 0; }

// A symbolic link would have the rewrite land in whatever file it points at,
// maybe outside the project; only the named file itself is ever written.
bool is_symlink(const char* file)
{
    struct stat st;
    return lstat(file, &st) == 0 && S_ISLNK(st.st_mode);
}

} // namespace

bool theme_file_usable(const char* path, const char* consequence)
{
    const char* refusal = util_file_refusal(path);
    if (refusal)
        diag("theme file \"%s\" %s; %s", path ? path : "", refusal, consequence);
    return !refusal;
}

ThemeSaveFn theme_util_set_save_fn(ThemeSaveFn fn)
{
    ThemeSaveFn previous = g_theme_save;
    g_theme_save = fn ? fn : edje_edit_save_all;
    return previous;
}

bool group_del(const char* file, const char* group, Elm_Theme* theme)
{
    if (!file || !group)
        return false;
    Eina_List* groups = edje_file_collection_list(file);
    std::set<std::string> others = group_set(groups);
    // A file that no longer lists the group (changed, unreadable, gone) is
    // left alone: it must never be deleted as if the group were its last.
    bool listed = others.erase(group) == 1;
    const char* keep = nullptr;
    const Eina_List* l;
    void* name;
    EINA_LIST_FOREACH(groups, l, name)
    {
        if (strcmp(static_cast<const char*>(name), group) != 0) {
            keep = static_cast<const char*>(name);
            break;
        }
    }
    bool ok = false;
    if (!listed) {
        diag("theme file \"%s\" does not list group \"%s\"; nothing deleted", file, group);
    } else if (is_symlink(file)) {
        diag("theme file \"%s\" is a symbolic link; group \"%s\" not deleted", file, group);
    } else if (keep) {
        bool lifted = overlay_lift(theme, file);
        ok = rewrite_without(file, keep, group, others);
        if (lifted)
            elm_theme_overlay_add(theme, file);
        elm_cache_all_flush();
        if (!ok)
            diag("theme file \"%s\": group \"%s\" could not be deleted; file left as it was", file, group);
    } else {
        elm_theme_overlay_del(theme, file);
        elm_cache_all_flush();
        ok = ecore_file_remove(file);
    }
    edje_file_collection_list_free(groups);
    return ok;
}

void releaseStyleResources(const char* widgetName, const char* styleName, Eina_List* groups)
{
    eina_stringshare_del(widgetName);
    eina_stringshare_del(styleName);
    edje_file_collection_list_free(groups);
}

int efl_util_remove_style_name(const char* file, const char* widget, const char* style, Elm_Theme* theme)
{
    if (!style)
        return 0;
    return remove_groups(file, widget, theme, [style](const char* group) -> const char* {
        const char* styleName = style_name_get(group);
        if (same_name(styleName, style))
            return styleName;
        eina_stringshare_del(styleName);
        // List widgets: item groups that end in the style go with it.
        return item_style_name_get(group, style);
    });
}

int efl_util_remove_item_style_name(const char* file, const char* widget, const char* style,
                                    const char* itemStyle, Elm_Theme* theme)
{
    if (!style || !itemStyle)
        return 0;
    return remove_groups(file, widget, theme, [style, itemStyle](const char* group) -> const char* {
        const char* item = item_style_name_get(group, style);
        if (same_name(item, itemStyle))
            return item;
        eina_stringshare_del(item);
        return nullptr;
    });
}
