#pragma once

#include <QSpinBox>

// Spin box of the test-signal forms. It tells when it takes the keyboard
// focus, so the audio page can drop the source table's selection while the
// user types a value.
class HuxSpinBox : public QSpinBox
{
    Q_OBJECT
public:
    explicit HuxSpinBox(QWidget* parent = nullptr);

signals:
    void focusIn();

protected:
    void focusInEvent(QFocusEvent* event) override;
};
