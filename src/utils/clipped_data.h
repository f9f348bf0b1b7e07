#pragma once
// Theme objects keep their clipper in a small block the canvas library
// allocates when they are made. Deleting such an object forgets the block
// without freeing it (toolkit 1.26): about 100 blocks a render of a real
// screen, a steady growth of every re-rendered window.
#include <Evas.h>

// Hands the block of every theme object on the canvas (top-level objects and
// their smart members, all levels) to the engine, before a page of it is
// deleted: the toolkit frees its own block at once and works on an identical
// copy the engine frees when the object is destroyed, whenever and however
// that happens. Objects handed over before are passed by.
void clipped_data_adopt_canvas(Evas* canvas);
