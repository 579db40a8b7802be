// velmar-icon SIZE FILE: writes the program's icon as a PNG, for installation.
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "app_icon.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::atoi(argv[1]) <= 0) {
    std::fprintf(stderr, "Usage: velmar-icon SIZE FILE\n");
    return 2;
  }
  return velmar::DrawAppIcon(std::atoi(argv[1])).save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0
                                                                                              : 1;
}
