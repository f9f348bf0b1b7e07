#include "threads/dequeue_thread/dequeue_thread.h"

#include <Ecore_Evas.h>
#include <Elementary.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "components/adapters/widget_adapter/memory_bounds.h"
#include "components/connector/connector.h"
#include "threads/dequeue_thread/msg_request_command.h"
#include "utils/efl_util.h"
#include "utils/json_util.h"
#include "utils/idle_once.h"
#include "utils/log_util.h"
#include "utils/retired_pages.h"

DequeueThread* DequeueThread::m_spDequeueThread = nullptr;
QManager* DequeueThread::m_pQManager = nullptr;
std::unique_ptr<Buffer> DequeueThread::m_pBufferBody;
int DequeueThread::m_iMsgType = -1;
Ecore_Timer* DequeueThread::m_pEcoreTimer = nullptr;

DequeueThread* DequeueThread::getInstance()
{
    if (!m_spDequeueThread)
        m_spDequeueThread = new DequeueThread;
    return m_spDequeueThread;
}

void DequeueThread::destroyInstance()
{
    delete m_spDequeueThread;
}

DequeueThread::DequeueThread()
{
    m_pBufferBody = std::make_unique<Buffer>();
    efl_util_init_toolkit();
    efl_util_set_elm_profile("mobile");
    memory_bounds_init();
    initThread();
    m_bInitialised = 1;
}

DequeueThread::~DequeueThread()
{
    m_pBufferBody.reset();
    m_spDequeueThread = nullptr;
}

int DequeueThread::initThread()
{
    m_pQManager = QManager::getInstance();
    startEflRenderCmdTimer();
    return 0;
}

void DequeueThread::startEflRenderCmdTimer()
{
    m_pEcoreTimer = ecore_timer_add(TICK_SECONDS, DequeueThread::Run, nullptr);
}

void DequeueThread::stopEflRenderCmdTimer()
{
    if (m_pEcoreTimer)
        ecore_timer_del(m_pEcoreTimer);
    m_pEcoreTimer = nullptr;
}

bool DequeueThread::dispatchRendering()
{
    if (!m_bInitialised)
        return false;
    elm_run();
    elm_shutdown();
    return true;
}

namespace {

// The envelope's members must convert as the protocol demands; anything else
// is treated like a body that is not JSON at all.
bool read_int_member(const Json::Value& root, const char* key, int& out)
{
    const Json::Value& v = root.isMember(key) ? root[key] : Json::Value("defaultValue");
    if (!v.isConvertibleTo(Json::intValue)) {
        diag("request envelope: \"%s\" is not an integer; request execution stops", key);
        return false;
    }
    out = v.asInt();
    return true;
}

bool read_text_member(const Json::Value& root, const char* key, std::string& out)
{
    const Json::Value& v = root.isMember(key) ? root[key] : Json::Value("defaultValue");
    if (!(v.isString() || v.isNull() || v.isBool())) {
        diag("request envelope: \"%s\" is not a string; request execution stops", key);
        return false;
    }
    out = v.asString();
    return true;
}

} // namespace

std::unique_ptr<IMsg> DequeueThread::createMsgHandler()
{
    const char* text = m_pBufferBody ? static_cast<const char*>(m_pBufferBody->getBuffer()) : nullptr;
    std::string body = text ? text : "";
    Json::Value root;
    if (JsonRead r = json_util_read(body, root); r != JsonRead::Ok) {
        diag("request body %s; request execution stops", json_util_reason(r));
        return nullptr;
    }
    if (!root.isObject()) {
        diag("request body is not a JSON object; request execution stops");
        return nullptr;
    }
    int id = 0, msgType = 0;
    std::string name, data;
    if (!read_int_member(root, "id", id) || !read_int_member(root, "msg-type", msgType)
        || !read_text_member(root, "command-name", name) || !read_text_member(root, "command-data", data))
        return nullptr;
    if (msgType != MSG_TYPE_REQUEST) {
        diag("request %d: msg-type %d is not a request; request execution stops", id, msgType);
        return nullptr;
    }
    diag_set_request(id, name.c_str());
    auto msg = std::make_unique<MsgRequestCommand>();
    msg->setId(id);
    msg->setMsgType(MSG_TYPE_REQUEST);
    msg->setCommandName(name);
    msg->setCommandData(data);
    msg->deserialize();
    return msg;
}

std::unique_ptr<IMsg> DequeueThread::doMsgHandler()
{
    std::unique_ptr<IMsg> msg = createMsgHandler();
    if (msg)
        msg->doMsg();
    diag_clear_request();
    return msg;
}

Eina_Bool DequeueThread::Run(void*)
{
    Connector* connector = Connector::getInstance();
    uqitem_st item;
    if (connector->isConnected()) {
        if (!m_pQManager->dequeue(item))
            return ECORE_CALLBACK_RENEW;
        renderPending();
        // Replaced pages the idle loop has not deleted yet go before the request,
        // and so do the free pages they leave.
        retired_pages_flush();
        memory_bounds_release_pending();
        m_iMsgType = item.type;
        m_pBufferBody->setBuffer(item.data);
        if (doMsgHandler()) {
            // The message and its command are gone; now the body goes with its node.
            m_pQManager->eraseBeginItem();
            renderWhenIdle();
            return ECORE_CALLBACK_RENEW;
        }
    }
    // Stop path: returning CANCEL ends this timer, so it must not be deleted again.
    // Closing the queue frees every body in it (the one taken is still its
    // front) and every body the reader thread still queues from now on.
    m_pEcoreTimer = nullptr;
    stopEflRenderCmdTimer();
    m_pBufferBody.reset();
    m_pQManager->close();
    return ECORE_CALLBACK_CANCEL;
}

namespace {

// Draws every canvas the command changed, as the toolkit would on its next
// animator tick, but without waiting up to a frame time for it. An idler
// runs once the jobs, events and zero-delay timers the command left have
// run, so the frame shows what the animator would have drawn, in as many
// frames; an unchanged canvas draws nothing and sends no frame.
void render_changed_canvases()
{
    Eina_List* all = ecore_evas_ecore_evas_list_get();
    void* ee;
    EINA_LIST_FREE(all, ee)
        ecore_evas_manual_render(static_cast<Ecore_Evas*>(ee));
    // The pages these frames replaced go as soon as the loop is idle again.
    retired_pages_flush_when_idle();
    memory_bounds_release_when_idle();
}

IdleOnce s_renderWhenIdle(render_changed_canvases);

} // namespace

void DequeueThread::renderWhenIdle()
{
    s_renderWhenIdle.schedule();
}

// What a request changed is drawn and sent before the next request runs,
// also when the loop found no idle moment in between.
void DequeueThread::renderPending()
{
    s_renderWhenIdle.run_now();
}
