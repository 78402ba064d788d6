#include "app/converter_app.h"
#include "fw/qt/qt_backend.h"

// The one application object of the program.
CConverterApp theApp;

int main(int argc, char** argv) {
    fw::qt::QtBackend backend(argc, argv);
    return fw::AfxWinMain();
}
