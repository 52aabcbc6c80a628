#include "ui/ObrentaApp.h"

int main(int argc, char** argv) {
    return obrenta::ui::RunObrenta(argc, argv);
}
