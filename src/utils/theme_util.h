#pragma once
#include <Elementary.h>

#include <string>

// --- Name grammar -----------------------------------------------------------
// Group names read 'elm/' widget '/' part '/' rest. Names returned are shared
// strings (release with eina_stringshare_del); lists hold shared strings.
//
// Widget, part and rest are taken only up to 39, 31 and 255 characters. A
// group with a longer component is outside the grammar: every function below
// treats it like a group not under "elm/" (null, never listed, never removed),
// so a cut-down name can never pass for another widget or style.
inline constexpr size_t WIDGET_NAME_MAX = 39;
inline constexpr size_t PART_NAME_MAX = 31;
inline constexpr size_t STYLE_NAME_MAX = 255;

const char* _strrstr(const char* text, const char* pattern);
const char* widget_name_get(const char* group);
const char* style_name_get(const char* group);
const char* item_style_name_get(const char* group, const char* tail);

int efl_util_string_comp(const void* a, const void* b);
Eina_List* widget_name_list_get(const Eina_List* groups);
Eina_List* style_name_list_get(const Eina_List* groups, const char* widget);
Eina_List* item_style_name_list_get(const Eina_List* groups, const char* widget, const char* style);
// Releases a list returned by the three functions above.
void theme_util_name_list_free(Eina_List* names);

// --- Theme files --------------------------------------------------------------
// True when `path` names a regular file. Only such a file is handed to the
// toolkit as a theme: it opens it, and would wait for ever on a FIFO. For any
// other path one diagnostic line names it, says what it is, then `consequence`.
bool theme_file_usable(const char* path, const char* consequence);

// --- Query answers (styled JSON text) --------------------------------------
std::string efl_util_get_group_names(const char* path, const char* pathText);
std::string efl_util_get_style_names(const char* path, const char* pathText);

// --- Style removal ------------------------------------------------------------
bool group_del(const char* file, const char* group, Elm_Theme* theme);
int efl_util_remove_style_name(const char* file, const char* widget, const char* style, Elm_Theme* theme);
int efl_util_remove_item_style_name(const char* file, const char* widget, const char* style,
                                    const char* itemStyle, Elm_Theme* theme);
void releaseStyleResources(const char* widgetName, const char* styleName, Eina_List* groups);

// The call that writes an edited theme file (edje_edit_save_all). Replaceable
// so tests can make a save really fail; returns the call it replaces.
using ThemeSaveFn = Eina_Bool (*)(Evas_Object* edit);
ThemeSaveFn theme_util_set_save_fn(ThemeSaveFn fn);
