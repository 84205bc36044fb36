#include "app/tform2.h"

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Таймер и соединение"));
    setModal(true);
}
