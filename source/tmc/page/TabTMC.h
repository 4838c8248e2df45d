#pragma once

#include "country/ECC.h"
#include "settings/Observer.h"
#include "settings/TMCSource.h"

#include <QSharedPointer>
#include <QWidget>

#include <memory>

class ECCSearch;
class FMSettings;
class QModelIndex;
class QTableWidgetItem;
class SetValue;
class TMCLblModel;
class TMCMsgModel;
struct TMCMessage;

namespace Ui {
class TabTMCUI;
}

// The TMC page: the TMC sources of the open project and the form of the
// current one (group 3A system information, service provider name,
// encryption and service keys, messages with their labels). Every edit goes
// to the store through its TMC setters; the store's notifications load the
// form again. The page also keeps the single-field keys (ltn, sid, ltcc,
// ltecc) and the variant words of every source in step with each other.
class TabTMC : public QWidget, public Observer
{
    Q_OBJECT
public:
    explicit TabTMC(QWidget* parent = nullptr);
    ~TabTMC() override;

    void setProgram(QSharedPointer<FMSettings> settings);
    void showSource(int number);
    int shownSource() const { return currentSource; }
    void notify(SetValue* event) override;

public slots:
    void setValueEvent(SetValue* event);
    void addSource();
    void delSource();
    void rowChanged(const QModelIndex& index);
    void setMessage(int row, const TMCMessage& message);
    void addMessage();
    void delMessage();
    void addInfo(int label = 0);
    void delInfo();
    void saveECC(const ECC& country);
    void itemChanged(QTableWidgetItem* item);
    void nameChanged(QTableWidgetItem* item);
    void varxChanged();
    void slotChanged();
    void dataChanged();
    void infoChanged();
    void keyChanged();
    void encChanged();

private:
    void connectForm();
    void fillSources(int select);
    void showListsHint();
    void setSourceRow(const QString& name, int number, int row);
    void showMessage(int row);
    // Keeps a field key and its variant word in step after a change of
    // either; true when the source's record has to be read again.
    bool synchronise(int number, const QString& key, const QVariant& value);
    // The source the form writes to: the current item's number, or 0 when
    // nothing may be written (no item, no store, loading).
    int writableSource() const;
    void enableTimeFields(bool mode);
    void enableMessageFlags();
    TMCMsgModel* messageModel() const;
    TMCLblModel* labelModel() const;

    std::unique_ptr<Ui::TabTMCUI> ui;
    QSharedPointer<FMSettings> store;
    int currentSource = 0;
    bool loading = false;
    TMCSource source;
    ECCSearch* eccSearch = nullptr;
};
