// vireo-cli entry point.
#include <iostream>

#include "cli.h"

int main(int argc, char** argv) {
  return vireo::cli::RunCli(argc, argv, std::cout, std::cerr);
}
