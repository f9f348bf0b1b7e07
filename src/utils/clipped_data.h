#pragma once
// Theme objects, scroller pans and canvas tables keep their clipper in a
// small block the canvas library allocates when they are made. Deleting such
// an object forgets the block without freeing it (toolkit 1.26): over a
// hundred blocks a render of a real screen, a steady growth of every
// re-rendered window.
#include <Evas.h>

// Hands the block of every such object in the tree (the object and its smart
// members, all levels) to the engine: the toolkit frees its own block at once
// and works on an identical copy the engine frees when the object is
// destroyed, whenever and however that happens. Objects handed over before
// are passed by.
void clipped_data_adopt_tree(Evas_Object* root);
// The same for one object alone, its members left as they are.
void clipped_data_adopt(Evas_Object* obj);
// The same for every object on the canvas, before a page of it is deleted.
void clipped_data_adopt_canvas(Evas* canvas);
// True once the object's block is the engine's copy.
bool clipped_data_adopted(const Evas_Object* obj);
