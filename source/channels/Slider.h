#pragma once

#include <QWidget>

class QTimer;

// Frameless popup that edits one number: drag the knob (snapping to the
// coarse grid), turn the wheel, press the navigation keys or type digits.
// Dragging, the wheel and the keys emit valueChanged at once; typed digits
// only when Return confirms them. Escape takes back the popup's changes.
// A digit that would leave the range, or Return on a value outside it, is
// not taken silently: the popup is framed red and its tool tip says why
// until the operator next changes the value.
class Slider : public QWidget
{
    Q_OBJECT
public:
    Slider(double min, double max, double step, const QString& unit, QWidget* parent = nullptr);

    void setValue(double v);
    void setRange(double min, double max);
    void setUnit(const QString& unit) { unitText = unit; }
    // Appends add to text when the result reads as a number within the
    // range; a result whose negative lies within the range flips the sign
    // instead (typing 5 on the gain slider shows -5).
    bool parseText(QString& text, const QString& add) const;

    double value() const { return current; }
    QString text() const { return shown; }
    double minimum() const { return low; }
    // Why the last digit or Return was not taken; empty when all is well.
    QString refusal() const { return refused; }
    double maximum() const { return high; }

signals:
    void valueChanged(double value);
    void focusOut();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int radius() const { return height() / 2; }
    double span() const;
    double position(double v) const;
    bool inRange(double v) const { return v >= low && v <= high; }
    bool readsInRange(const QString& number, double* v = nullptr) const;
    QString format(double v) const;
    void moveKnob(double target);
    void moveTo(double target);
    void dropTyping();
    void cancel();
    void drag(double x);
    bool navigate(int key);
    void typeCharacter(QString c);
    void confirm();
    QString outsideText(const QString& number) const;
    void refuse(const QString& reason);
    void clearRefusal();
    void updateLabelWidth(const QFont& font);
    void drawTexts(QPainter& painter, int cx);
    void drawKnob(QPainter& painter, double at);
    void drawRefusalFrame(QPainter& painter);

    double current = 0.0;
    // The value at setValue, which Escape returns to.
    double opened = 0.0;
    double low;
    double high;
    double knob = 0.0;
    double step;
    double coarse;
    int decimals;
    int labelWidth = 0;
    QString unitText;
    QString shown;
    QString refused;
    bool editing = false;
    bool dragging = false;
};
