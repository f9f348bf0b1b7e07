#include "threads/dequeue_thread/cmd_positions.h"

#include "components/adapters/Adapter.h"
#include "components/manager/window_manager.h"
#include "components/msg_writer/msg_writer.h"
#include "utils/efl_util.h"
#include "utils/heap_block.h"
#include "utils/log_util.h"

namespace {

// The window and its rendered root, or null (with a diagnostic) when either is missing.
Evas_Object* rendered_page(int id, Evas_Object** window)
{
    *window = WindowManager::getInstance()->find(id);
    if (!*window) {
        diag("no window with this id; nothing sent");
        return nullptr;
    }
    auto* page = static_cast<Evas_Object*>(evas_object_data_get(*window, KEY_PAGE));
    if (!page)
        diag("window has no rendered tree; nothing sent");
    return page;
}

void send_document(int id, const char* event, HeapBlock<char> text)
{
    if (text)
        MsgWriter::getInstance()->sendResponseEventMessage(id, event, text.get());
}

} // namespace

void CmdGetAllWidgetPositions::doCmd()
{
    Evas_Object* win;
    if (Evas_Object* page = rendered_page(getId(), &win))
        send_document(getId(), "EVENT_GET_ALL_WIDGET_POSITIONS", HeapBlock<char>(get_all_widget_positions(win, page)));
}

void CmdGetPlaceHolderPositions::doCmd()
{
    Evas_Object* win;
    if (Evas_Object* page = rendered_page(getId(), &win))
        send_document(getId(), "EVENT_GET_PLACEHOLDER_POSITIONS", HeapBlock<char>(get_placeholder_positions(page, "0")));
}
