#pragma once
#include <Elementary.h>
#include <json/json.h>

// --- Windows, fonts, frames, themes -------------------------------------
extern char g_sz_elm_profile_buff[128];

// elm_init without the toolkit's desktop-file cache daemon: a headless engine
// has no use for it, and the daemon would inherit standard output (the IDE's
// handshake pipe) and outlive the process holding it open.
void efl_util_init_toolkit();
void efl_util_set_elm_profile(const char* profile);
Evas_Object* efl_util_create_off_screen_window_with_callbacks(int id);
void efl_util_set_fonts_global(int id);
void remove_callbacks(Evas_Object* window);
void efl_util_evas_render_post_cb(void* data, Evas* canvas, void* event);
void efl_util_overlay_theme(Elm_Theme* theme, const char* file);

// --- Built widget trees ---------------------------------------------------
// Tears a built widget and its built descendants down, children first.
void free_evas_object(Evas_Object* obj);

// A heap copy of `text` under `key`, freed when replaced, deleted, or when
// the object itself is deleted (so no tag outlives or dangles off its object).
void efl_util_tag_text(Evas_Object* obj, const char* key, const char* text);
void efl_util_tag_text_del(Evas_Object* obj, const char* key);

// Object lists kept on an owner under "children" or "placeholder". A member
// that the toolkit deletes (a container replacing its content, say) drops out
// of the list at once, so no walk or teardown ever touches a freed object.
void efl_util_list_append(Evas_Object* owner, const char* key, Evas_Object* member);
void efl_util_list_prepend(Evas_Object* owner, const char* key, Evas_Object* member);
Evas_Object* efl_util_list_pop_front(Evas_Object* owner, const char* key);
const Eina_List* efl_util_list_get(const Evas_Object* owner, const char* key);

// --- Layout inspection ----------------------------------------------------
char* get_all_widget_positions(Evas_Object* window, Evas_Object* root);
int get_widget_positions(Evas_Object* obj, Json::Value& array, int index);
void get_placeholder_position(Evas_Object* placeholder, Json::Value& array, int index);
char* get_placeholder_positions(Evas_Object* root, const char* ignored);
int get_placeholder_positions(Evas_Object* obj, Json::Value& array, int index);
