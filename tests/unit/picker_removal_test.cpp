// File selectors, their buttons and entries list their folder on a worker
// thread; removing one while that listing runs must not leave the folder
// open (the toolkit's cancelled listing never closes it), nor the folder
// model behind it.
#define EFL_BETA_API_SUPPORT // the folder model class
#include <Eio.h>
#include <dirent.h>
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/picker_shared.h"
#include "toolkit_fixture.h"

// Counts the toolkit's blocking waits for a worker job; the toolkit's own
// function does the waiting.
static int g_thread_waits = 0;
extern "C" Eina_Bool ecore_thread_wait(Ecore_Thread* thread, double wait)
{
    using Wait = Eina_Bool (*)(Ecore_Thread*, double);
    static Wait toolkit = reinterpret_cast<Wait>(dlsym(RTLD_NEXT, "ecore_thread_wait"));
    ++g_thread_waits;
    return toolkit ? toolkit(thread, wait) : EINA_FALSE;
}

namespace {

namespace fs = std::filesystem;

class PickerRemoval : public ToolkitTest {
protected:
    fs::path dir;
    _WidgetInfo* node = nullptr;

    void SetUp() override
    {
        ToolkitTest::SetUp();
        dir = fs::temp_directory_path() / ("picker_removal_" + std::to_string(getpid()));
        fs::create_directories(dir);
        // Enough entries that the listing is still open when the loop first sees it.
        for (int i = 0; i < 5000; ++i)
            std::ofstream(dir / ("file-" + std::to_string(i)));
        node = new _WidgetInfo;
        node->wid = "picker";
        node->properties = eina_list_append(nullptr, new Property{ "path", dir.string() });
    }

    void TearDown() override
    {
        deleteWidgetsInfo(node);
        ToolkitTest::TearDown();
        fs::remove_all(dir);
    }

    // True while one of this process's descriptors is the folder.
    bool folderOpen() const
    {
        bool open = false;
        DIR* fds = opendir("/proc/self/fd");
        while (dirent* e = fds ? readdir(fds) : nullptr) {
            char target[PATH_MAX];
            std::string link = std::string("/proc/self/fd/") + e->d_name;
            ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
            open = open || (n > 0 && std::string(target, n) == dir.string());
        }
        if (fds)
            closedir(fds);
        return open;
    }

    // Polls the descriptor table while the main loop stands still.
    bool folderOpenWithin(double seconds) const
    {
        double deadline = ecore_time_get() + seconds;
        do {
            if (folderOpen())
                return true;
            std::this_thread::yield();
        } while (ecore_time_get() < deadline);
        return false;
    }

    // Delivers the workers' reports one batch at a time until a listing has
    // the folder open. After each batch the main loop stands still for a
    // moment: a listing that batch started (the folder's stat result starts
    // it) opens the folder and keeps it open, since only the main loop can
    // deliver its end.
    bool deliverUntilListing(double seconds) const
    {
        double deadline = ecore_time_get() + seconds;
        while (ecore_time_get() < deadline) {
            ecore_main_loop_thread_safe_call_wait(0.001);
            if (folderOpenWithin(0.05))
                return true;
        }
        return false;
    }

    // Runs the main loop until the folder is closed or the deadline passes.
    bool loopUntilClosed(double seconds) const
    {
        double deadline = ecore_time_get() + seconds;
        while (folderOpen() && ecore_time_get() < deadline) {
            ecore_main_loop_thread_safe_call_wait(0.001);
            ecore_main_loop_iterate();
        }
        return !folderOpen();
    }

    // A picker whose listing has the folder open, or null. On a loaded
    // machine a listing can start and end within one batch of reports, unseen;
    // such a picker is removed and a new one tried, since removing it would
    // test nothing.
    Evas_Object* pickerWhileListing(const WidgetAdapter* a) const
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Evas_Object* picker = a->add(win);
            if (!picker || !a->set_property(picker, node, ""))
                return nullptr;
            if (deliverUntilListing(10.0))
                return picker;
            a->remove(picker);
            loopUntilClosed(2.0);
        }
        return nullptr;
    }

    void removeWhileListing(const char* type)
    {
        SCOPED_TRACE(type);
        const WidgetAdapter* a = getAdapter(type);
        ASSERT_NE(a, nullptr);
        Evas_Object* picker = pickerWhileListing(a);
        ASSERT_NE(picker, nullptr) << "no listing was ever seen with the folder open";
        EXPECT_TRUE(a->remove(picker));
        // Whatever the toolkit closes, it closes within the jobs' end.
        EXPECT_TRUE(loopUntilClosed(2.0)) << "the folder stays open";
    }
};

// The folder models a selector's path made, each with a weak reference that
// clears when the model is destroyed.
std::vector<Eo*> folder_models(Evas_Object* selector)
{
    std::vector<Eo*> models;
    Eina_Iterator* it = efl_children_iterator_new(selector);
    void* child;
    while (it && eina_iterator_next(it, &child))
        if (efl_isa(static_cast<Eo*>(child), EFL_IO_MODEL_CLASS))
            models.push_back(static_cast<Eo*>(child));
    eina_iterator_free(it);
    return models;
}

TEST_F(PickerRemoval, FolderModelsGoWithTheSelector)
{
    const WidgetAdapter* a = getAdapter("efl.fileselector");
    ASSERT_NE(a, nullptr);
    for (const std::string& path : { dir.string(), std::string("/nonexistent") }) {
        SCOPED_TRACE(path);
        static_cast<Property*>(eina_list_data_get(node->properties))->value = path;
        Evas_Object* picker = a->add(win);
        ASSERT_TRUE(a->set_property(picker, node, ""));
        std::vector<Eo*> models = folder_models(picker);
        ASSERT_FALSE(models.empty());
        for (Eo*& m : models)
            efl_wref_add(m, &m);
        // The selector still lists the folder it was given. Deadlines only: a
        // loaded sanitizer build takes seconds over a folder this size.
        double deadline = ecore_time_get() + 30.0;
        while (path == dir.string() && !elm_fileselector_path_get(picker) && ecore_time_get() < deadline) {
            ecore_main_loop_thread_safe_call_wait(0.001);
            ecore_main_loop_iterate();
        }
        if (path == dir.string()) {
            EXPECT_STREQ(elm_fileselector_path_get(picker), path.c_str());
        }
        Eo* gone = picker;
        efl_wref_add(picker, &gone);
        EXPECT_TRUE(a->remove(picker));
        deadline = ecore_time_get() + 15.0;
        auto alive = [&] { return gone || std::any_of(models.begin(), models.end(), [](Eo* m) { return m; }); };
        while (alive() && ecore_time_get() < deadline) {
            ecore_main_loop_thread_safe_call_wait(0.001);
            ecore_main_loop_iterate();
        }
        EXPECT_EQ(gone, nullptr) << "the selector was never destroyed";
        if (gone)
            efl_wref_del(gone, &gone);
        for (Eo*& m : models) {
            EXPECT_EQ(m, nullptr) << "a folder model outlives its selector";
            if (m)
                efl_wref_del(m, &m);
        }
    }
}

TEST_F(PickerRemoval, RemovedWhileListingLeavesNoFolderOpen)
{
    // The entry removes its inner button the same way.
    removeWhileListing("efl.fileselectorbutton");
    removeWhileListing("efl.fileselector");
}

// A file selector entry asked for its model makes a new one for the path its
// text names, unless that is its button's folder, and its layout asks while
// the entry is deleted: the model made then goes with the entry while its
// folder is still being read, and the toolkit blocks to wait for the read.
// Removed, the entry must make the toolkit wait for nothing.
TEST_F(PickerRemoval, AnEntryGoesWithoutAWaitForAFolderRead)
{
    const WidgetAdapter* a = getAdapter("efl.fileselectorentry");
    ASSERT_NE(a, nullptr);
    for (const char* text : { "Path", "" }) {
        SCOPED_TRACE(text);
        Evas_Object* picker = a->add(win);
        _WidgetInfo* labelled = makeNode("efl.fileselectorentry", "entry", { { "text", text } });
        ASSERT_TRUE(a->set_property(picker, labelled, ""));
        deleteWidgetsInfo(labelled);
        Evas_Object* button = elm_layout_content_get(picker, "elm.swallow.button");
        ASSERT_NE(button, nullptr);
        fileselector_entry_settle(button); // not an entry: left alone
        const char* label = elm_object_text_get(button);
        EXPECT_EQ(std::string(label ? label : ""), text);

        int waitsBefore = g_thread_waits;
        EXPECT_TRUE(a->remove(picker));
        EXPECT_EQ(g_thread_waits - waitsBefore, 0) << "waits for a worker job while the entry went";
    }
}

} // namespace
