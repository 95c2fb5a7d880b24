// The toolkit's own texts (the standard buttons Yes, No, OK, Cancel and the
// text boxes' context menus) in the language of the console's string table.
#pragma once

// Loads the toolkit's translation for the string table's language now and
// puts it in place of one loaded before. False when the system has none
// (Debian: qt6-translations-l10n); the toolkit's texts then stay English.
bool booInstallQtTranslations();
