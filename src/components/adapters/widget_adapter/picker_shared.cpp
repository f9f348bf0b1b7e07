// The folder model class is in the toolkit's object API only.
#define EFL_BETA_API_SUPPORT
#include "components/adapters/widget_adapter/picker_shared.h"

#include <Eio.h>

#include "components/adapters/Adapter.h"
#include "utils/efl_util.h"

// Exported by the toolkit but left out of its installed headers.
extern "C" const Efl_Class* elm_fileselector_class_get(void);
extern "C" const Efl_Class* elm_fileselector_entry_class_get(void);

namespace {

// Only a guard against a folder that never finishes listing (a hung mount):
// how long a listing takes depends on the folder and the machine, and every
// job cut short by this guard costs a descriptor.
const double FILE_JOBS_WAIT_S = 10.0;
// How long one wait for a worker's report lasts before the counts are read again.
const double REPORT_WAIT_S = 0.002;

bool file_jobs_running()
{
    return ecore_thread_active_get() > 0 || ecore_thread_pending_total_get() > 0;
}

// Lets the toolkit's worker jobs (a folder's stat, then the listing its
// result starts) run to their end and delivers what they queued for the main
// loop. A listing still running or undelivered when its model goes is
// cancelled, and the toolkit's cancellation loses the open folder: one
// descriptor and its buffer per picker and render.
void finish_file_jobs(Evas_Object* obj)
{
    double deadline = ecore_time_get() + FILE_JOBS_WAIT_S;
    do {
        while (file_jobs_running() && ecore_time_get() < deadline)
            ecore_main_loop_thread_safe_call_wait(REPORT_WAIT_S);
        ecore_main_loop_thread_safe_call_wait(0.0);
    } while (file_jobs_running() && ecore_time_get() < deadline);
    if (file_jobs_running())
        node_diag(obj, "file jobs still running after %.1f s; the toolkit cancels them", FILE_JOBS_WAIT_S);
}

} // namespace

// The toolkit's path setter for the selector itself adds its folder model
// with an extra reference it never drops: the model and its records outlive
// the selector, one for every path set (the button and the entry add theirs
// without one). The model made here belongs to the selector alone.
void picker_path_set(Evas_Object* obj, const char* path)
{
    if (!path || efl_class_get(obj) != elm_fileselector_class_get()) {
        elm_fileselector_path_set(obj, path);
        return;
    }
    Efl_Model* model = efl_add(EFL_IO_MODEL_CLASS, obj, efl_io_model_path_set(efl_added, path),
                               efl_loop_model_volatile_make(efl_added));
    if (!model) {
        node_diag(obj, "no folder model could be made for \"%s\"; path not set", path);
        return;
    }
    efl_ui_view_model_set(obj, model);
}

bool holds_file_picker(const Evas_Object* obj)
{
    if (!obj)
        return false;
    // Every picker kind is removed through remove_file_picker, and only they are.
    if (const WidgetAdapter* a = adapter_of(obj); a && a->remove == remove_file_picker)
        return true;
    for (const Eina_List* l = efl_util_list_get(obj, KEY_CHILDREN); l; l = eina_list_next(l))
        if (holds_file_picker(static_cast<const Evas_Object*>(eina_list_data_get(l))))
            return true;
    return false;
}

void fileselector_entry_settle(Evas_Object* obj)
{
    if (!obj || efl_class_get(obj) != elm_fileselector_entry_class_get())
        return;
    Evas_Object* button = elm_layout_content_get(obj, "elm.swallow.button");
    Evas_Object* entry = elm_layout_content_get(obj, "elm.swallow.entry");
    Efl_Model* model = button ? efl_ui_view_model_get(button) : nullptr;
    const char* folder = model ? efl_io_model_path_get(model) : nullptr;
    if (!entry || !folder)
        return;
    char* markup = elm_entry_utf8_to_markup(folder);
    elm_object_text_set(entry, markup);
    free(markup);
}

bool remove_file_picker(Evas_Object* obj)
{
    if (!obj)
        return false;
    fileselector_entry_settle(obj);
    finish_file_jobs(obj);
    return remove_widget(obj);
}
