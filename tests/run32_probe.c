/* A tiny 32-bit program: that it runs tells whether this machine runs 32-bit Windows programs. */
#include <stdio.h>

int main(void) {
    printf("%d-bit\n", (int)(sizeof(void*) * 8));
    return 0;
}
