#include "tmc/page/TMCEventSearch.h"

#include "tmc/TMCReferenceLists.h"
#include "tmc/page/TMCEvtModel.h"
#include "ui_TMCEventsUI.h"

#include <QDebug>

namespace {

// Filter letters of the combo boxes in item order; 0 filters nothing and
// ' ' stands for an empty field.
constexpr quint8 kNatures[] = {0, ' ', 'F', 'S'};
constexpr quint8 kDurationTypes[] = {0, ' ', 'D', 'L'};
constexpr quint8 kUrgencies[] = {0, ' ', 'U', 'X'};

quint8 pick(const quint8 (&letters)[4], int item)
{
    return item >= 0 && item < 4 ? letters[item] : 0;
}

} // namespace

TMCEventSearch::TMCEventSearch(QWidget* parent) : QWidget(parent), ui(new Ui::TMCEventsUI)
{
    ui->setupUi(this);
    model = new TMCEvtModel(this);
    ui->list->setModel(model);
    ui->list->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(ui->search, &QPushButton::clicked, this, &TMCEventSearch::findEvents);
    connect(ui->text, &QLineEdit::returnPressed, this, &TMCEventSearch::findEvents);
}

TMCEventSearch::~TMCEventSearch()
{
    delete ui;
    qDebug() << "~TMC events";
}

void TMCEventSearch::findEvents()
{
    TMCEventRecord filter;
    filter.nature = pick(kNatures, ui->N->currentIndex());
    filter.durationType = pick(kDurationTypes, ui->T->currentIndex());
    filter.urgency = pick(kUrgencies, ui->U->currentIndex());
    filter.quantifier = ui->Q->value() < 0 ? TMCEventRecord::kNoQuantifier : quint8(ui->Q->value());
    filter.directionality = quint8(ui->D->value());
    filter.updateClass = quint8(ui->C->value());
    model->setResult(filter, ui->text->text(), TMCReferenceLists::instance().events);
    const QString title = windowTitle();
    setWindowTitle(title.left(title.indexOf(QStringLiteral(" ("))) +
                   QStringLiteral(" (%1)").arg(model->rowCount()));
    ui->list->resizeColumnsToContents();
}
