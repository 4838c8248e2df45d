#pragma once

#include "board/BoardLock.h"

#include <QDialog>

namespace Ui {
class UnlockUI;
}

// The take-over question for a board that another host holds: who holds it,
// which hosts talked to it lately, and whether to take it over. The answer
// leaves as unlock(bool), which the board tile hands to its board thread.
class FMUnlock : public QDialog
{
    Q_OBJECT
public:
    explicit FMUnlock(QWidget* parent = nullptr);
    ~FMUnlock() override;

    // The lock record carries no box number; the tile passes the board's.
    void setText(const BoardLock& lock, int boxNumber);
    QString text() const;

    void accept() override;
    void reject() override;

signals:
    void unlock(bool take);

protected:
    void showEvent(QShowEvent* event) override;

private:
    static QString recentHosts(const BoardLock& lock);

    Ui::UnlockUI* ui;
};
