// vireo-cli entry point.
#include <cstdio>

int main() {
  std::fputs("usage: vireo-cli COMMAND ...\n", stderr);
  return 2;
}
