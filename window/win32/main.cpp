#include "window/win32/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    return veltrin::runApplication(instance, show);
}
