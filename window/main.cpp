#include "window/application.h"
#include "window/commandline.h"
#include "window/form1.h"

int main(int argc, char* argv[]) {
    if (const auto status = veltrin::handleCommandLine(argc, argv)) {
        return *status;
    }
    veltrin::Application app(argc, argv);
    veltrin::Form1 form;
    return app.run(form);
}
