#pragma once
// The scheduling and dial-up dialog shown before a batch job. Created hidden at start-up.
#include <QDialog>

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};
