// The TMC page's messages: the message table, the edit group of the current
// message and its labels.
#include "tmc/page/TabTMC.h"

#include "gui/ModalQuestions.h"
#include "gui/SelectedRows.h"
#include "settings/FMSettings.h"
#include "tmc/TMCEvents.h"
#include "tmc/TMCPlaces.h"
#include "tmc/page/TMCLabel.h"
#include "tmc/page/TMCLblModel.h"
#include "tmc/page/TMCMsgModel.h"
#include "tmc/page/TMCTable.h"
#include "ui_TabTMCUI.h"

namespace {

// extentFlags: bits 2-0 extent, bit 3 direction, bit 4 diversion advice
// (the upper five bits of block 3 of an 8A single-group message).
constexpr int kExtentMask = 7;
constexpr quint8 kDirection = 8;
constexpr quint8 kDiversion = 16;

} // namespace

void TabTMC::enableMessageFlags()
{
    const bool noLabels = labelModel()->rowCount() == 0;
    ui->duration->setEnabled(noLabels);
    ui->diversion->setEnabled(noLabels);
}

void TabTMC::showMessage(int row)
{
    if (row < 0) {
        ui->gEdit->setEnabled(false);
        ui->text1->clear();
        ui->text2->clear();
        labelModel()->setLabels({}, 0);
    } else {
        const TMCMessage message = messageModel()->message(row);
        ui->gEdit->setEnabled(true);
        QString eventText = TMCEvents::eventText(message.event);
        if (message.labels.isEmpty() && message.duration != 0)
            eventText += u'\n' + TMCEvents::durationText(message.event, message.duration);
        ui->text1->setPlainText(eventText);
        ui->text2->setPlainText(TMCPlaces::placeText(message.location));
        labelModel()->setLabels(message.labels, message.event);

        const bool wasLoading = loading;
        loading = true;
        ui->duration->setValue(message.duration);
        ui->diversion->setChecked(message.extentFlags & kDiversion);
        ui->direction->setChecked(message.extentFlags & kDirection);
        ui->extent->setValue(message.extentFlags & kExtentMask);
        loading = wasLoading;
    }
    enableMessageFlags();
}

void TabTMC::rowChanged(const QModelIndex& index)
{
    messageModel()->setCurrent(index.row());
    showMessage(index.row());
}

void TabTMC::setMessage(int row, const TMCMessage& message)
{
    if (store)
        store->setTMCMessage(currentSource, row, message);
    // A code dropped on another row than the current one: that row becomes
    // the message the edit group shows and writes, so the group never shows
    // one message while its edits go to another.
    if (row != messageModel()->current()) {
        ui->messages->setCurrentIndex(messageModel()->index(row, TMCMsgModel::EventColumn));
        messageModel()->setCurrent(row);
    }
    showMessage(row);
}

void TabTMC::addMessage()
{
    const int count = messageModel()->addMessage(TMCMessage());
    if (store)
        store->setTMCMessage(currentSource, count - 1, messageModel()->message(count - 1));
}

void TabTMC::delMessage()
{
    const QList<int> rows = selectedRows(ui->messages);
    if (rows.isEmpty())
        return;
    if (rows.size() > 1 &&
        ModalQuestions::ask(this, QMessageBox::Question, tr("Meldungen löschen?"),
                            tr("%1 Meldungen löschen?").arg(rows.size()),
                            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    TMCMsgModel* model = messageModel();
    model->removeMessage(rows);
    const int count = model->rowCount();
    for (int row = 0; row < count; ++row) {
        if (store)
            store->setTMCMessage(currentSource, row, model->message(row));
        showMessage(row);
    }
    if (store)
        store->removeTMCMessage(currentSource, count);
    // The last message is the one shown: it becomes current too, so the edit
    // group writes to the message it shows.
    const int last = count - 1;
    ui->messages->setCurrentIndex(last < 0 ? QModelIndex()
                                           : model->index(last, TMCMsgModel::EventColumn));
    model->setCurrent(last);
    showMessage(last);
}

void TabTMC::dataChanged()
{
    if (loading)
        return;
    TMCMsgModel* model = messageModel();
    const int row = model->current();
    if (row < 0 || row >= model->rowCount())
        return;
    TMCMessage message = model->message(row);
    message.duration = quint8(ui->duration->value());
    message.extentFlags =
        quint8((ui->extent->value() & kExtentMask) | (ui->direction->isChecked() ? kDirection : 0) |
               (ui->diversion->isChecked() ? kDiversion : 0));
    model->setFlags(row, message.duration, message.extentFlags);
    if (store)
        store->setTMCMessage(currentSource, row, message);
    showMessage(row);
}

void TabTMC::addInfo(int label)
{
    labelModel()->addLabel(quint32(label));
    enableMessageFlags();
}

void TabTMC::delInfo()
{
    const QList<int> rows = selectedRows(ui->labels);
    if (rows.size() > 1 &&
        ModalQuestions::ask(this, QMessageBox::Question, tr("Labels löschen?"),
                            tr("%1 Labels löschen?").arg(rows.size()),
                            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    labelModel()->removeLabel(rows);
    enableMessageFlags();
}

void TabTMC::infoChanged()
{
    const int row = ui->messages->currentIndex().row();
    TMCMsgModel* model = messageModel();
    if (!ui->messages->model() || row < 0 || row >= model->rowCount())
        return;
    model->setLabels(row, labelModel()->labels());
    if (store)
        store->setTMCMessage(currentSource, row, model->message(row));
    showMessage(row);
}
