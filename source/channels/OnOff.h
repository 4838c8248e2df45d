#pragma once

#include <QWidget>

// The channel's used switch: a painted vertical toggle with a caption above
// it. The owner sets text and on directly and calls update().
class OnOff : public QWidget
{
    Q_OBJECT
public:
    explicit OnOff(QWidget* parent = nullptr);

    QString text;
    bool on = false;

signals:
    void clicked(bool on);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int drawCaption(QPainter& painter, int radius) const;
    void drawKnob(QPainter& painter, int captionHeight) const;
};
