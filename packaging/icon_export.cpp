// Writes the program's picture as a PNG for the desktop icon theme:
//   velmorandi_icon_export SIZE FILE
#include "shell/app_icon.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE FILE.png\n", argv[0]);
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "%s: size must be between 16 and 1024 pixels\n", argv[0]);
        return 2;
    }
    const QImage image = velmorandi::programImage(size, Qt::black, Qt::transparent);
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
