#include "country/ECCSearch.h"

#include "country/ECCModel.h"
#include "ui_ECCUI.h"

#include <QDebug>

ECCSearch::ECCSearch(QWidget*) : QWidget(nullptr), ui(new Ui::ECCUI), model(new ECCModel(this))
{
    ui->setupUi(this);
    ui->list->setModel(model);
    ui->list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    findECCText();
    ui->list->resizeColumnsToContents();

    connect(ui->search, &QToolButton::clicked, this, &ECCSearch::findECCText);
    connect(ui->text, &QLineEdit::returnPressed, this, &ECCSearch::findECCText);
    connect(ui->list, &QTableView::doubleClicked, this, &ECCSearch::pushECC);
    connect(ui->Beu, &QToolButton::clicked, this, &ECCSearch::clickEU);
    connect(ui->Baf, &QToolButton::clicked, this, &ECCSearch::clickAF);
    connect(ui->Bam, &QToolButton::clicked, this, &ECCSearch::clickAM);
    connect(ui->Bar, &QToolButton::clicked, this, &ECCSearch::clickAR);
    connect(ui->Bas, &QToolButton::clicked, this, &ECCSearch::clickAS);
    connect(ui->Bau, &QToolButton::clicked, this, &ECCSearch::clickAU);
    connect(ui->Bis, &QToolButton::clicked, this, &ECCSearch::findECCArea);
}

ECCSearch::~ECCSearch()
{
    qDebug("~ECC search");
    delete ui;
}

void ECCSearch::showECC()
{
    show();
    raise();
}

void ECCSearch::findECCText()
{
    for (QToolButton* button : areaButtons())
        button->setChecked(false);
    showCount(model->filterText(ui->text->text()));
}

void ECCSearch::findECCArea()
{
    const QList<QToolButton*> buttons = areaButtons();
    const quint8 bits[] = {ECC::Europe, ECC::Africa,    ECC::America, ECC::NearEast,
                           ECC::Asia,   ECC::Australia, ECC::Islands};
    quint8 mask = 0;
    for (int n = 0; n < buttons.size(); ++n) {
        if (buttons.at(n)->isChecked())
            mask |= bits[n];
    }
    showCount(model->filterArea(mask));
}

// In the order of the area bits.
QList<QToolButton*> ECCSearch::areaButtons() const
{
    return {ui->Beu, ui->Baf, ui->Bam, ui->Bar, ui->Bas, ui->Bau, ui->Bis};
}

void ECCSearch::clickEU(bool checked)
{
    narrowArea(checked, {ui->Bau});
}

void ECCSearch::clickAF(bool checked)
{
    narrowArea(checked, {ui->Bas, ui->Bau});
}

void ECCSearch::clickAM(bool checked)
{
    narrowArea(checked, {ui->Bau, ui->Bar, ui->Bas});
}

void ECCSearch::clickAR(bool checked)
{
    narrowArea(checked, {ui->Bau, ui->Bam, ui->Bas});
}

void ECCSearch::clickAS(bool checked)
{
    narrowArea(checked, {ui->Baf, ui->Bam, ui->Bar, ui->Bau});
}

void ECCSearch::clickAU(bool checked)
{
    narrowArea(checked, {ui->Beu, ui->Bam, ui->Bar, ui->Bas});
}

void ECCSearch::narrowArea(bool checked, const QList<QToolButton*>& excluded)
{
    if (checked) {
        for (QToolButton* button : excluded)
            button->setChecked(false);
    }
    findECCArea();
}

void ECCSearch::pushECC(const QModelIndex& index)
{
    emit saveECC(model->row(index.row()));
}

void ECCSearch::showCount(int rows)
{
    QString title = windowTitle();
    const qsizetype cut = title.indexOf(QLatin1String(" ("));
    if (cut >= 0)
        title.truncate(cut);
    if (rows > kMaxShownCount)
        title += QStringLiteral(" (>%1)").arg(kMaxShownCount);
    else
        title += QStringLiteral(" (%1)").arg(rows);
    setWindowTitle(title);
}
