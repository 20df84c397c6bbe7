/* The control for the planted libraries: it loads each library named on its
   command line by bare name, as a program that does not restrict the search
   would, and exits with the number it could not load. Under Wine, a planted
   copy is loaded this way only when the library's load order prefers a
   native file, so a marker left by each proves that a scenario's setting
   took effect. */
#include "platform/win32/windows_shim.h"

int main(int argc, char** argv) {
  int missing = 0;
  for (int i = 1; i < argc; ++i) {
    if (!LoadLibraryA(argv[i])) ++missing;
  }
  return missing;
}
