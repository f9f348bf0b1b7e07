#include "utils/efl_util.h"

#include <Ecore_Evas.h>
#include <Edje.h>
#include <Efreet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <strings.h>

#include "components/adapters/Adapter.h"
#include "components/manager/window_manager.h"
#include "components/msg_writer/msg_writer.h"
#include "utils/heap_block.h"
#include "utils/log_util.h"
#include "utils/retired_pages.h"

char g_sz_elm_profile_buff[128] = {};

namespace {

struct RenderPostRecord {
    Evas_Object* window;
    int id;
    bool emptyReported = false; // a frame without pixels was explained already
};

// One line when a window's frames stop carrying pixels; the next one only
// after it has painted pixels again, so an animating page does not flood.
void report_empty_paint(RenderPostRecord& record, ImageBuffer::Status status)
{
    bool failed = status == ImageBuffer::Status::NoCanvas || status == ImageBuffer::Status::Outside
        || status == ImageBuffer::Status::NoMemory;
    if (!failed || record.emptyReported) {
        record.emptyReported = record.emptyReported && failed;
        return;
    }
    record.emptyReported = true;
    const char* why = status == ImageBuffer::Status::NoCanvas ? "the toolkit has no canvas for it (is the page too large?)"
        : status == ImageBuffer::Status::Outside              ? "its page lies outside the canvas"
                                                              : "its pixels could not be copied (out of memory)";
    diag("window %d: frame sent as an empty paint: %s", record.id, why);
}

// However the window goes, its render-post record goes with it; after the
// destroy command's own remove_callbacks there is nothing left to remove.
void window_deleted(void*, Evas*, Evas_Object* window, void*)
{
    remove_callbacks(window);
}

} // namespace

void efl_util_init_toolkit()
{
    efreet_cache_disable();
    elm_init(0, nullptr);
}

void efl_util_set_elm_profile(const char* profile)
{
    if (!profile || strlen(profile) < 2)
        return;
    strncpy(g_sz_elm_profile_buff, profile, sizeof g_sz_elm_profile_buff - 1);
    elm_config_profile_set(g_sz_elm_profile_buff);
}

Evas_Object* efl_util_create_off_screen_window_with_callbacks(int id)
{
    elm_config_preferred_engine_set("buffer");
    Evas_Object* win = elm_win_util_standard_add("", "");
    if (!win)
        return nullptr;
    Evas* canvas = evas_object_evas_get(win);
    if (!canvas) {
        evas_object_del(win);
        return nullptr;
    }
    // The canvas callback owns the record until remove_callbacks takes it back.
    auto record = std::make_unique<RenderPostRecord>(RenderPostRecord { win, id });
    evas_event_callback_add(canvas, EVAS_CALLBACK_RENDER_POST, efl_util_evas_render_post_cb, record.release());
    evas_object_event_callback_add(win, EVAS_CALLBACK_DEL, window_deleted, nullptr);
    return win;
}

void efl_util_set_fonts_global(int id)
{
    std::string profile = WindowManager::getInstance()->getElmProfileName(id);
    elm_config_profile_set(profile.c_str());
    const char* dir = strcasecmp(profile.c_str(), "wearable-circle") == 0 ? "wearable" : profile.c_str();
    char path[256];
    snprintf(path, sizeof path, "%s/%s", "./res/fonts", dir);
    evas_font_path_global_clear();
    evas_font_path_global_append(path);
    edje_text_class_set("zelva", "ZelvaSans", -100);
}

void remove_callbacks(Evas_Object* window)
{
    if (!window)
        return;
    std::unique_ptr<RenderPostRecord> record(static_cast<RenderPostRecord*>(
        evas_event_callback_del(evas_object_evas_get(window), EVAS_CALLBACK_RENDER_POST, efl_util_evas_render_post_cb)));
}

void efl_util_evas_render_post_cb(void* data, Evas*, void* info)
{
    auto* record = static_cast<RenderPostRecord*>(data);
    if (!record || !record->window)
        return;
    // Deleting a hidden, retired page changes no pixel: that render is no frame.
    auto* post = static_cast<const Evas_Event_Render_Post*>(info);
    if (retired_pages_quiet(record->window) && (!post || !post->updated_area))
        return;
    if (!WindowManager::getInstance()->isCurrentProject(record->id))
        return;
    MsgWriter* writer = MsgWriter::getInstance();
    report_empty_paint(*record, writer->sendResponsePaintMessage(record->id, record->window));
    auto* page = static_cast<Evas_Object*>(evas_object_data_get(record->window, KEY_PAGE));
    if (!page)
        return;
    if (HeapBlock<char> widgets { get_all_widget_positions(record->window, page) })
        writer->sendResponseEventMessage(record->id, "EVENT_GET_ALL_WIDGET_POSITIONS", widgets.get());
    if (HeapBlock<char> placeholders { get_placeholder_positions(page, "0") })
        writer->sendResponseEventMessage(record->id, "EVENT_GET_PLACEHOLDER_POSITIONS", placeholders.get());
}

void efl_util_overlay_theme(Elm_Theme* theme, const char* file)
{
    if (!file)
        return;
    const Eina_List* l = elm_theme_overlay_list_get(theme);
    while (l) {
        const Eina_List* next = eina_list_next(l);
        auto* entry = static_cast<const char*>(eina_list_data_get(l));
        if (entry) {
            bool same = strcmp(entry, file) == 0;
            elm_theme_overlay_del(theme, entry);
            if (same)
                break;
        }
        l = next;
    }
    elm_theme_overlay_add(theme, file);
}
