/* Prints the width of its own pointers and ends: proof that this host can
   start a Windows program of the architecture it was built for. */
#include <stdio.h>

int main(void) {
  printf("probe %u-bit\n", (unsigned)(sizeof(void*) * 8));
  return 0;
}
