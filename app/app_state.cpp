#include "app/app_state.h"

AppState App;

void vResetAppState() { App = AppState{}; }
