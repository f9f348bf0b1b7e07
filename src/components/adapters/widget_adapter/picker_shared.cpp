#include "components/adapters/widget_adapter/picker_shared.h"

#include "components/adapters/Adapter.h"

bool remove_file_picker(Evas_Object* obj)
{
    if (!obj)
        return false;
    ecore_main_loop_thread_safe_call_wait(0.0);
    return remove_widget(obj);
}
