#include "app/main_ops.h"

#include <cstdlib>

namespace {
MainOps* s_pMain = nullptr;
}

MainOps& mainWindow() {
    if (s_pMain == nullptr) std::abort();  // a call before the window exists is a bug
    return *s_pMain;
}

void vSetMainWindow(MainOps* p) { s_pMain = p; }

bool booHasMainWindow() { return s_pMain != nullptr; }
