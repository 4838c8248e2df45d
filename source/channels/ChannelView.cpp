#include "channels/ChannelView.h"

#include "board/FMBoard.h"
#include "gui/ModalQuestions.h"

ChannelView::ChannelView(int board, QWidget* parent) : QFrame(parent), number(board)
{
    setObjectName(QStringLiteral("board%1").arg(board));
    setFrameShape(QFrame::StyledPanel);
}

void ChannelView::setState(int state)
{
    shownState = state;
}

void ChannelView::askUnlock(FMBoard* board)
{
    if (!board)
        return;
    const BoardLock lock = board->lockRecord();
    const QString holder = QString::fromUtf8(lock.holderIdentity.mid(1)).remove(QChar(0));
    const auto answer =
        ModalQuestions::ask(this, QMessageBox::Question, tr("Modulator extern verbunden"),
                            tr("Der Modulator wird von %1 benutzt.\nÜbernehmen?").arg(holder),
                            QMessageBox::Yes | QMessageBox::No);
    QMetaObject::invokeMethod(board, "unlock", Q_ARG(bool, answer == QMessageBox::Yes));
}
