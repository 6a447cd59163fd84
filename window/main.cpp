#include "window/application.h"
#include "window/form1.h"

int main(int argc, char* argv[]) {
    veltrin::Application app(argc, argv);
    veltrin::Form1 form;
    return app.run(form);
}
