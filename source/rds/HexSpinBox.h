#pragma once

#include <QSpinBox>

// Spin box that shows and takes its value in hexadecimal, shown in upper
// case as RDS codes are written.
class HexSpinBox : public QSpinBox
{
public:
    explicit HexSpinBox(QWidget* parent = nullptr);

protected:
    QString textFromValue(int value) const override;
};
