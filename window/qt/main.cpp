#include "window/qt/application.h"
#include "window/qt/commandline.h"
#include "window/qt/form1.h"

int main(int argc, char* argv[]) {
    if (const auto status = veltrin::handleCommandLine(argc, argv)) {
        return *status;
    }
    veltrin::Application app(argc, argv);
    veltrin::Form1 form;
    return app.run(form);
}
