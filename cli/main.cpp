#include <iostream>

#include "OrvalisCli.h"

int main(int argc, char** argv) {
  return RunOrvalis({argv + (argc > 0 ? 1 : 0), argv + argc}, std::cout, std::cerr);
}
