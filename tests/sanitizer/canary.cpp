// A deliberate fault per argument, so that a sanitizer build that silently
// lost its sanitizers fails its tests instead of passing them.
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const char* fault = argc > 1 ? argv[1] : "";
    volatile int index = argc + 14; // 16 with one argument
    if (strcmp(fault, "heap-overflow") == 0) {
        char* block = static_cast<char*>(malloc(16));
        block[index] = 1; // one past the end
        printf("%d\n", block[0]);
        free(block);
    } else if (strcmp(fault, "use-after-free") == 0) {
        int* value = new int(7);
        delete value;
        printf("%d\n", *value);
    } else if (strcmp(fault, "signed-overflow") == 0) {
        volatile int big = 2147483647;
        printf("%d\n", big + argc);
    }
    puts("no fault detected");
    return 0;
}
