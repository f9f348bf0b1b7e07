// Theme objects hand their clipper block to the engine the moment they are
// made (see clipped_data.h): widgets make and replace theme objects inside
// their own constructors and property setters, where no walk of the canvas
// could see them before they are gone, block and all.
//
// This definition takes the toolkit's place: the toolkit's libraries, the
// theme library itself included, reach edje_object_add through the dynamic
// linker, which prefers the executable's exported definition. It makes the
// object with the toolkit's own function and changes nothing else.
#include <Edje.h>
#include <dlfcn.h>

#include "utils/clipped_data.h"

extern "C" __attribute__((visibility("default"))) Evas_Object* edje_object_add(Evas* evas)
{
    using AddFn = Evas_Object* (*)(Evas*);
    static const auto toolkit_add = reinterpret_cast<AddFn>(dlsym(RTLD_NEXT, "edje_object_add"));
    if (!toolkit_add)
        return nullptr;
    Evas_Object* obj = toolkit_add(evas);
    // A new theme object's only member is its clipper: no walk needed.
    if (obj)
        clipped_data_adopt(obj);
    return obj;
}
