#pragma once
// Qt's own texts (standard dialogs and buttons) in Russian, like the rest of the window.
class QCoreApplication;

// Loads qtbase_ru from Qt's translations folder into the application; false when the file
// is not installed, and the standard texts then stay in English.
bool InstallQtRussian(QCoreApplication& app);
