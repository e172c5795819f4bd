#pragma once

class QCoreApplication;

// Loads Qt's own Spanish texts (qtbase_es from Qt's translations folder), so that the standard
// dialogs (the file dialog's "Buscar en:", "Abrir", "Cancelar", the buttons of message boxes)
// speak the shop's language. False, with a warning on standard error, when the file is missing:
// the program still runs, its own texts are Spanish anyway.
bool installQtTranslations(QCoreApplication &application);
