#pragma once

#include "board/BoardIP.h"

#include <QDialog>
#include <QList>

// Board connection dialog, for now a placeholder: the list of discovered
// boards with their positions comes later. Accepting it hands the boards it
// was opened with back as the choice.
class FMConnect : public QDialog
{
    Q_OBJECT
public:
    FMConnect(int modulators, const QList<BoardIP>& boards, QWidget* parent = nullptr);

    int modulators() const { return count; }
    QList<BoardIP> boards() const { return chosen; }

    void accept() override;

signals:
    void connectTo(int modulators, const QList<BoardIP>& boards);

private:
    int count;
    QList<BoardIP> chosen;
};
