// The toolkit logs warnings to stderr by default; the console's stderr
// carries its one exit line, so the toolkit's own log stays quiet.
#pragma once

void vQuietDcmtkLog();
