#include "window/win32/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    veltrin::runApplication(instance, show);
}
