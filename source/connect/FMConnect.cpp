#include "connect/FMConnect.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

FMConnect::FMConnect(int modulators, const QList<BoardIP>& boards, QWidget* parent)
    : QDialog(parent), count(modulators), chosen(boards)
{
    setObjectName(QStringLiteral("FMConnect"));
    setWindowTitle(tr("Modulatoren verbinden"));
    auto* layout = new QVBoxLayout(this);
    for (const BoardIP& board : boards)
        layout->addWidget(new QLabel(board.toString(), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FMConnect::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FMConnect::reject);
    layout->addWidget(buttons);
}

void FMConnect::accept()
{
    emit connectTo(count, chosen);
    QDialog::accept();
}
