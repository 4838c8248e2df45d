#pragma once

#include "country/ECC.h"
#include "rds/RdsViewState.h"
#include "settings/EON.h"
#include "settings/GroupRate.h"
#include "settings/Observer.h"
#include "settings/RDSSource.h"
#include "settings/RTag.h"

#include <QMap>
#include <QPalette>
#include <QSet>
#include <QSharedPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class AFTableAuto;
class AFTableSend;
class ECCSearch;
class EONModel;
class FMSettings;
class ODAModel;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QDateTime;
class QModelIndex;
class QTableWidgetItem;
class QTextCodec;
class QTimer;
class RDSDecoder;
class RDSLogFiles;
struct RdsChannelState;
class SetValue;
struct AFEntry;

namespace Ui {
class TabRDSUI;
class TabRDS0;
class TabRDSAF;
class TabRDSRT;
class TabRDS2;
} // namespace Ui

// The RDS page: the RDS sources of the open project and the forms that edit
// the current one. Every edit collects the whole source from the forms and
// hands it to the store, whose notifications load it back into the forms.
class TabRDS : public QWidget, public Observer
{
    Q_OBJECT
public:
    explicit TabRDS(QWidget* parent = nullptr);
    ~TabRDS() override;

    void setProgram(QSharedPointer<FMSettings> settings);
    void showSource(int id, int tab);
    void notify(SetValue* event) override;

    static QStringList fillPTYList();
    // A copy of the palette whose colour of the role is, in every colour
    // group, the even blend of its colour and the signal colour.
    static QPalette blendedPalette(const QPalette& palette, QPalette::ColorRole role,
                                   const QColor& signal);
    // The 64 RadioText+ content type names, by content type.
    static const QStringList& rtplusClassNames();

    // Monitor text decoding: the bytes as HTML with [from, to) marked.
    QString decodeText(const QByteArray& bytes, int from, int to, int length, quint8 mode);
    QString markedHtml(const QString& text, int from, int to);
    void setDecoderTip(QTextCodec* codec);

    int currentSource() const { return sourceId; }

    // The monitor: one published log value of a channel (a group record, or
    // a comment text from the board engine).
    void appendRdsLog(int channel, const QVariant& value);
    // Replaces the clock that ages the AF lists of the monitor view.
    void setMonitorClock(std::function<qint64()> secondsSinceEpoch);

public slots:
    void setValueEvent(SetValue* event);

    void addSource();
    void delSource();
    void nameChanged(QTableWidgetItem* item);
    void itemChanged(QTableWidgetItem* item);

    void addLog();
    void delLog();
    void showLog();

    void slotChanged();
    void findCountry();
    void saveECC(const ECC& row);
    void timeout();
    void calcPS();
    void calcLPS();

    void rtxtChanged();
    void addTag(RTag tag = RTag());
    void delTag();
    void showText();

    void setDec();
    void setLog(int channel);
    void restartStat();
    void saveLog();

    void addList();
    void addAF();
    void delAF();
    void freqChanged(QTableWidgetItem* item);
    void updateAFs(bool save = false);
    void useVariant();
    void showBytes(bool bytes);
    void regionalAuto(const QModelIndex& index);
    void regionalManu(const QModelIndex& index);

    void addEON(EON eon = EON());
    void delEON();
    void saveEON();

    void addODA();
    void delODA();
    void saveODA();
    void rds2Changed();
    void rateChanged();
    void selectGroup(int group);
    void updateColor();

private:
    void connectFrame();
    void connectBasic();
    void connectRadioText();
    void connectOthers();
    void fillCodecs();

    void fillSources(int select);
    void setSourceRow(const RDSSource& source, int id, int row);
    void updateButtons();
    void fillChannelCombo(int count);
    // The chooser's entry of a channel: where its RDS comes from.
    void setChannelText(int channel);
    void showChannelsOf(int rdsId);
    void fillTMCCombo(int tmcId);
    void updateTMCCombo(int tmcId, const QString& key, const QVariant& value);

    // Loading one source, in the order of its fields on the forms.
    void loadBasic(const RDSSource& source);
    void loadRates(const RDSSource& source);
    void loadSwitches(const RDSSource& source);
    void loadClockAndErrors(const RDSSource& source);
    void loadRadioText(const RDSSource& source);
    void loadLogFiles(const RDSSource& source);

    // RadioText, eRT and RT+ of a save, and the tag table.
    void readRadioText(RDSSource& source);
    void fillTags(const QString& a, const QString& b, const QString& c, const QString& d,
                  const QList<RTag>& tags);
    void collectTags(QString& a, QString& b, QString& c, QString& d, QList<RTag>& tags);

    // The monitor view: decoder panel, text view and rate titles.
    void showDecoded(const RdsChannelState& state);
    void showAFs(quint16 c);
    void showRadioText(quint16 b, quint16 c, quint16 d, quint8 errorFlags);
    void showOda(const RdsChannelState& state);
    QString logLine(const RdsChannelState& state, const QByteArray& record);
    void updateStatistics();
    void rateTitle(int code, double share);
    void resetTitles();
    QString textHtml();

    // Group rates: the group type a group combo names (-1 when its text
    // names none), the rate table rebuilt from the basic and RadioText
    // forms, and the basic-form switch that mirrors an entry.
    static int comboGroup(const QComboBox* combo);
    void takeFormRates();
    void mirrorGroupSwitch(int entry, bool on);
    // The basic form's group boxes that switch a group-rate entry.
    QList<std::pair<int, QGroupBox*>> groupSwitches() const;

    // AF lists: the send table built on a copy of the source, the manual
    // table loaded and stored.
    int showAFTables(RDSSource& source);
    int firstCarrierFrequency() const;
    void loadManualAFs(const RDSSource& source);
    void appendEmptyRow(const AFEntry& entry);
    QList<AFEntry> storeManualAFs(const QSet<QTableWidgetItem*>& excluded);

    // Basic tuning, RadioText and the byte views: reading the forms back
    // into a record, and the helpers of the text views and the decoder.
    void readForms(RDSSource& source);
    // The loaded source and what the forms read right after loading it:
    // a save keeps the stored value of every field not edited since.
    void rememberLoaded(int id, const RDSSource& source);
    void readBasic(RDSSource& source);
    void readClockAndErrors(RDSSource& source);
    void readOtherForms(RDSSource& source);
    void readItemBits(RDSSource& source);
    void readErtBits(RDSSource& source);
    void showErtBits(quint16 bits);
    void popItemBitsTip();
    void markGroupClash();
    // The stored source with the texts, codings and end characters as the
    // forms show them now: what the byte views encode.
    RDSSource shownTexts() const;
    // Codec combos: select the entry of the coding a stored name means (an
    // extra entry with the name when none does), and the name to store.
    using SameCoding = bool (*)(const QByteArray&, const QByteArray&);
    static constexpr int kStoredNameRole = Qt::UserRole + 1;
    static void selectCodec(QComboBox* combo, const QByteArray& name, SameCoding same);
    static QByteArray storedCodec(const QComboBox* combo, const QByteArray& loaded,
                                  SameCoding same);
    void refreshByteViews();
    QMap<int, QString> tagTextsOfTable() const;
    static QString tagMarker(int row);
    static QString clockPreview(const QDateTime& time, double zone);
    void showFieldTip(QWidget* field, const QString& tip);
    QString decodeUnflagged(const QByteArray& data, int& from, int& to, QTextCodec* gb18030);
    // What the monitor's text view shows: bit 0 RadioText, bit 1 eRT,
    // bit 2 the RT+ tags, bit 3 hexadecimal values.
    quint8 viewMode = 1;

    std::unique_ptr<Ui::TabRDSUI> ui;
    std::unique_ptr<Ui::TabRDS0> ui0;
    std::unique_ptr<Ui::TabRDSAF> uiAF;
    std::unique_ptr<Ui::TabRDSRT> uiRT;
    std::unique_ptr<Ui::TabRDS2> ui2;

    QSharedPointer<FMSettings> store;
    RDSLogFiles* logFiles = nullptr;
    RDSDecoder* decoder = nullptr;
    RdsViewState monitor;
    // Shares of 0A, 0B, 2A and 2B (by group code) of the last rate titles.
    QMap<int, double> pairShares;
    AFTableAuto* autoAFs = nullptr;
    AFTableSend* sentAFs = nullptr;
    QTimer* variantHint = nullptr; // defers the method-B hint
    int manualAFsOf = 0;           // the source whose manual AF rows are shown
    EONModel* eonModel = nullptr;
    ECCSearch* eccSearch = nullptr;
    QTimer* clock = nullptr;
    QButtonGroup* groupButtons = nullptr;
    QPalette pagePalette;
    QString lastLogFile;
    QSet<int> remoteChannels; // channels whose RDS a remote client sends
    int sourceId = 0;
    bool loading = false;
    std::array<GroupRate, GroupRate::kGroupCount> rates{};
    int selectedGroup = -1; // entry shown in the RDS2 rate fields, -1 none
    QPalette groupButtonPalette;
    // The RT+ and eRT group types of the loaded source: kept on saving when
    // their combo lists no such group.
    quint8 loadedRtGroup = 0;
    quint8 loadedErtGroup = 0;
    int loadedId = 0;
    RDSSource loadedSource;
    RDSSource formAsLoaded;
    ODAModel* odaModel = nullptr;

    // The codec names of the loaded source: saved as they are while the
    // combos still choose the coding they name.
    QByteArray loadedCrt;
    QByteArray loadedEnc;
    QByteArray loadedClps;
    // The codec the monitor detected last.
    QTextCodec* decoderCodec = nullptr;
};
