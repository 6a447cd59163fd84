#include "window/web/application.h"

int main() {
    veltrin::runApplication();
}
