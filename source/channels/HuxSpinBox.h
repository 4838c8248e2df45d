#pragma once

#include <QSpinBox>

// Spin box of the test-signal forms. It tells when it takes the keyboard
// focus, so the audio page can drop the source table's selection while the
// user types a value. A digit the range does not allow (30000 Hz where
// 22000 is the most) is not taken silently: the field is framed red and
// its tool tip gives the range until the value next changes.
class HuxSpinBox : public QSpinBox
{
    Q_OBJECT
public:
    explicit HuxSpinBox(QWidget* parent = nullptr);

    // The text of the tool tip that gives the range.
    QString rangeText() const;

signals:
    void focusIn();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void markOutOfRange();
    void clearMark();

    QString ownTip;
    bool marked = false;
};
