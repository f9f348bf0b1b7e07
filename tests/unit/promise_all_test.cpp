// The combined ("all") promise the toolkit's models use, as this process
// links it: values in order once every component settled, and a cancellation
// that frees nothing twice.
#include <Ecore.h>
#include <Eina.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

Eina_Future_Scheduler* scheduler() { return efl_loop_future_scheduler_get(efl_main_loop_get()); }

struct Pending {
    Eina_Promise* promise = nullptr;
    int cancels = 0;

    Eina_Future* future()
    {
        promise = eina_promise_new(scheduler(), [](void* data, const Eina_Promise*) {
            static_cast<Pending*>(data)->cancels++;
        }, this);
        return eina_future_new(promise);
    }
};

struct Outcome {
    bool called = false;
    Eina_Error error = 0;
    std::vector<int> ints;
};

Eina_Value record(void* data, const Eina_Value v, const Eina_Future*)
{
    auto* out = static_cast<Outcome*>(data);
    out->called = true;
    if (eina_value_type_get(&v) == EINA_VALUE_TYPE_ERROR) {
        eina_value_error_get(&v, &out->error);
        return v;
    }
    for (unsigned i = 0; i < eina_value_array_count(&v); ++i) {
        Eina_Value item;
        eina_value_array_get(&v, i, &item);
        int n = -1;
        if (eina_value_type_get(&item) == EINA_VALUE_TYPE_INT)
            eina_value_get(&item, &n);
        else if (eina_value_type_get(&item) == EINA_VALUE_TYPE_ERROR)
            n = -2;
        out->ints.push_back(n);
        eina_value_flush(&item);
    }
    return v;
}

void iterate(int times = 5)
{
    for (int i = 0; i < times; ++i)
        ecore_main_loop_iterate();
}

// Two settled components and one pending, combined, then cancelled: the case
// of a file selector deleted while it still filters a folder's entries.
void cancelWithOnePending(Pending& pending, Outcome& outcome)
{
    Eina_Future* parts[] = { eina_future_resolved(scheduler(), eina_value_int_init(1)),
                             eina_future_resolved(scheduler(), eina_value_int_init(2)), pending.future(),
                             static_cast<Eina_Future*>(EINA_FUTURE_SENTINEL) };
    Eina_Future* all = eina_future_then(eina_future_all_array(parts), record, &outcome, nullptr);
    iterate();
    eina_future_cancel(all);
}

TEST(PromiseAll, ResolvesWithEveryValueInOrderOnceAllSettle)
{
    Pending late;
    Outcome outcome;
    Eina_Future* parts[] = { eina_future_resolved(scheduler(), eina_value_int_init(7)), late.future(),
                             eina_future_rejected(scheduler(), EINVAL), static_cast<Eina_Future*>(EINA_FUTURE_SENTINEL) };
    eina_future_then(eina_future_all_array(parts), record, &outcome, nullptr);
    iterate();
    EXPECT_FALSE(outcome.called) << "resolved before its last component";
    eina_promise_resolve(late.promise, eina_value_int_init(8));
    iterate();
    ASSERT_TRUE(outcome.called);
    EXPECT_EQ(outcome.error, 0);
    EXPECT_EQ(outcome.ints, (std::vector<int> { 7, 8, -2 }));
    EXPECT_EQ(late.cancels, 0);
}

TEST(PromiseAll, CancellingCancelsThePendingComponentsOnce)
{
    Pending pending;
    Outcome outcome;
    cancelWithOnePending(pending, outcome);
    iterate();
    EXPECT_EQ(pending.cancels, 1);
    ASSERT_TRUE(outcome.called);
    EXPECT_EQ(outcome.error, ECANCELED);
    EXPECT_TRUE(outcome.ints.empty());
}

// Pooled allocation hides a double free until the pool's free list loops;
// with the pools passed through to malloc the C library aborts at once.
TEST(PromiseAll, CancellingWithAPendingComponentFreesNothingTwice)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("EINA_MEMPOOL_PASS", "1", 1);
    // The child leaves with the toolkit still up: its exit status is the verdict.
    const char* asan = getenv("ASAN_OPTIONS");
    std::string previous = asan ? asan : "";
    setenv("ASAN_OPTIONS", (previous + ":detect_leaks=0").c_str(), 1);
    EXPECT_EXIT(
        {
            Pending pending;
            Outcome outcome;
            cancelWithOnePending(pending, outcome);
            iterate();
            for (int i = 0; i < 100; ++i)
                eina_future_cancel(eina_future_resolved(scheduler(), eina_value_int_init(i)));
            std::exit(pending.cancels == 1 && outcome.error == ECANCELED ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    unsetenv("EINA_MEMPOOL_PASS");
    if (asan)
        setenv("ASAN_OPTIONS", previous.c_str(), 1);
    else
        unsetenv("ASAN_OPTIONS");
}

} // namespace
