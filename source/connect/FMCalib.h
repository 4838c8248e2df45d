#pragma once

#include <QDialog>

// Board configuration dialog, for now a placeholder: setting a board's
// address and synthesizer offsets over a serial line or by broadcast comes
// later.
class FMCalib : public QDialog
{
    Q_OBJECT
public:
    explicit FMCalib(QWidget* parent = nullptr);
};
