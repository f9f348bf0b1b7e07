// The toolkit's "all" promise (eina_promise_all_array, eina_promise_all_iterator)
// frees its promise twice when the combined future is cancelled while a
// component is still pending: the cancellation settles the last component,
// whose callback then resolves (and frees) the very promise being cancelled,
// which the cancellation frees again. A file selector deleted or re-pointed
// while it still filters the entries of a folder does exactly that, and the
// corrupted allocator later spins for ever inside eina_future_new.
//
// These definitions take the toolkit's place: the toolkit's libraries reach
// both functions through the dynamic linker, which prefers the executable's
// exported definitions. Behaviour is the toolkit's (an array value holding
// every component's value or error, in order, once all have settled), except
// that nothing is settled any more once the combined promise is cancelled.
#include <Ecore.h>
#include <Eina.h>

#include <vector>

namespace {

struct AllContext {
    Eina_Promise* promise = nullptr;
    std::vector<Eina_Future*> components; // null once settled
    Eina_Value values = EINA_VALUE_EMPTY;
    size_t settled = 0;
    bool cancelled = false;
};

void release(AllContext* ctx)
{
    eina_value_flush(&ctx->values);
    delete ctx;
}

Eina_Value component_settled(void* data, const Eina_Value value, const Eina_Future* dead)
{
    auto* ctx = static_cast<AllContext*>(data);
    size_t i = 0;
    while (i < ctx->components.size() && ctx->components[i] != dead)
        ++i;
    if (i == ctx->components.size() || ctx->cancelled)
        return value;
    ctx->components[i] = nullptr;
    eina_value_array_set(&ctx->values, i, value);
    if (++ctx->settled < ctx->components.size())
        return value;
    Eina_Promise* promise = ctx->promise;
    Eina_Value values = ctx->values;
    ctx->values = EINA_VALUE_EMPTY;
    release(ctx);
    eina_promise_resolve(promise, values);
    return value;
}

void all_cancelled(void* data, const Eina_Promise*)
{
    auto* ctx = static_cast<AllContext*>(data);
    ctx->cancelled = true;
    for (Eina_Future*& component : ctx->components) {
        Eina_Future* pending = component;
        component = nullptr;
        if (pending)
            eina_future_cancel(pending);
    }
    release(ctx);
}

Eina_Promise* all_of(const std::vector<Eina_Future*>& futures)
{
    if (futures.empty())
        return nullptr;
    auto* ctx = new AllContext;
    eina_value_array_setup(&ctx->values, EINA_VALUE_TYPE_VALUE, 0);
    for (size_t i = 0; i < futures.size(); ++i) {
        Eina_Value stub = eina_value_int_init(0);
        eina_value_array_append(&ctx->values, stub);
        eina_value_flush(&stub);
    }
    ctx->promise = eina_promise_new(efl_loop_future_scheduler_get(efl_main_loop_get()), all_cancelled, ctx);
    if (!ctx->promise) {
        for (Eina_Future* f : futures)
            eina_future_cancel(f);
        release(ctx);
        return nullptr;
    }
    ctx->components.assign(futures.size(), nullptr);
    for (size_t i = 0; i < futures.size(); ++i)
        ctx->components[i] = eina_future_then(futures[i], component_settled, ctx, nullptr);
    return ctx->promise;
}

} // namespace

extern "C" EINA_API Eina_Promise* eina_promise_all_array(Eina_Future* array[])
{
    std::vector<Eina_Future*> futures;
    for (size_t i = 0; array && array[i] != EINA_FUTURE_SENTINEL; ++i)
        if (array[i])
            futures.push_back(array[i]);
    return all_of(futures);
}

extern "C" EINA_API Eina_Promise* eina_promise_all_iterator(Eina_Iterator* it)
{
    std::vector<Eina_Future*> futures;
    void* f;
    while (it && eina_iterator_next(it, &f))
        futures.push_back(static_cast<Eina_Future*>(f));
    eina_iterator_free(it);
    return all_of(futures);
}
