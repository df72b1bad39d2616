#include "startup.h"

int main(int argc, char** argv) {
    return velmorandi::Main(argc, argv);
}
