// The TMC page frame: construction and wiring, the sources table and the
// store's notifications with the synchronisation of fields and words.
#include "tmc/page/TabTMC.h"

#include "country/ECCSearch.h"
#include "rds/TabRDS.h"
#include "settings/FMSettings.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"
#include "tmc/page/TMCLabel.h"
#include "tmc/page/TMCLblModel.h"
#include "tmc/page/TMCListLoader.h"
#include "tmc/page/TMCMsgModel.h"
#include "tmc/page/TMCTable.h"
#include "ui_TabTMCUI.h"

#include <QDebug>
#include <QDir>
#include <QSignalBlocker>

namespace {

// Group 3A system information (ISO 14819-1, ALERT-C): the fields that have
// a key of their own besides the variant words.
constexpr int kFieldShift = 6; // LTN in va0, SID in va1: bits 11-6
constexpr quint32 kSixBits = 63;
constexpr quint32 kLtccMask = 15;   // va1 bits 3-0
constexpr quint32 kLteccMask = 255; // va2 bits 7-0
constexpr quint32 kModeBit = 16;    // va0 bit 4: time fields instead of LTCC

// The source number of a stored key: the digits between "tmc." and the
// first '/' (or the end); 0 when there are none.
int sourceNumber(const QString& key)
{
    const qsizetype dot = key.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return 0;
    const qsizetype slash = key.indexOf(QLatin1Char('/'));
    return key.mid(dot + 1, slash < 0 ? -1 : slash - dot - 1).toInt();
}

QString hexDigits(quint32 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0'));
}

} // namespace

TabTMC::TabTMC(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TabTMCUI>())
{
    setObjectName(QStringLiteral("tmcPage"));
    ui->setupUi(this);

    // The time wheel of mode 1 is obsolete: its fields are marked reddish.
    const QPalette reddish = TabRDS::blendedPalette(palette(), QPalette::WindowText, Qt::red);
    for (QWidget* widget : std::initializer_list<QWidget*>{ui->M, ui->lta, ui->ltw, ui->ltd})
        widget->setPalette(reddish);

    installEventFilter(new SetHandler(this));
    eccSearch = new ECCSearch(this);
    connectForm();
    ui->gEdit->setEnabled(false);
    fillSources(0);
    showListsHint();
}

// The project ships no reference lists: without them every event and place
// reads "Code nicht gefunden" and the searches find nothing, so the page says
// which files it wants and where.
void TabTMC::showListsHint()
{
    const QStringList missing = TMCListLoader::missingFiles();
    ui->listsHint->setVisible(!missing.isEmpty());
    if (missing.isEmpty())
        return;
    ui->listsHint->setText(
        tr("TMC-Referenzlisten nicht gefunden: im Ordner %1 fehlt %2. Ohne diese Listen zeigen "
           "Ereignisse und Orte nur ihre Codes, und die Suche findet nichts.")
            .arg(QDir::toNativeSeparators(TMCListLoader::folder()),
                 missing.join(QStringLiteral(", "))));
    QPalette warning = ui->listsHint->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    ui->listsHint->setPalette(warning);
}

TabTMC::~TabTMC()
{
    qDebug() << "~tmc source view";
    // The form's widgets die after this body and may still signal on their
    // way out (an open editor commits, a field loses its focus).
    loading = true;
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    delete eccSearch; // a window of its own: no parent takes it along
    eccSearch = nullptr;
}

TMCMsgModel* TabTMC::messageModel() const
{
    return ui->messages->messageModel();
}

TMCLblModel* TabTMC::labelModel() const
{
    return ui->labels->labelModel();
}

void TabTMC::connectForm()
{
    connect(ui->Badd, &QPushButton::clicked, this, &TabTMC::addSource);
    connect(ui->Bdel, &QPushButton::clicked, this, &TabTMC::delSource);
    connect(ui->BaddMsg, &QPushButton::clicked, this, &TabTMC::addMessage);
    connect(ui->BdelMsg, &QPushButton::clicked, this, &TabTMC::delMessage);
    connect(ui->BaddInfo, &QPushButton::clicked, this, [this] { addInfo(); });
    connect(ui->BdelInfo, &QPushButton::clicked, this, &TabTMC::delInfo);
    connect(ui->Bevents, &QPushButton::clicked, ui->messages, &TMCTable::findEvent);
    connect(ui->Bplaces, &QPushButton::clicked, ui->messages, &TMCTable::findPlace);

    connect(ui->sources, &QTableWidget::itemChanged, this, &TabTMC::nameChanged);
    connect(ui->sources, &QTableWidget::currentItemChanged, this, &TabTMC::itemChanged);
    connect(messageModel(), &TMCMsgModel::messageChanged, this, &TabTMC::setMessage);
    connect(ui->messages->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TabTMC::rowChanged);
    connect(labelModel(), &TMCLblModel::labelChanged, this, &TabTMC::infoChanged);

    for (QAbstractButton* toggle : std::initializer_list<QAbstractButton*>{
             ui->variant0, ui->variant1, ui->variant2, ui->variant3, ui->key})
        connect(toggle, &QAbstractButton::toggled, this, &TabTMC::slotChanged);
    connect(ui->gEnc, &QGroupBox::toggled, this, &TabTMC::slotChanged);
    connect(ui->SPN, &QLineEdit::editingFinished, this, &TabTMC::slotChanged);
    for (QComboBox* combo : {ui->AID, ui->GAP, ui->ta, ui->tw, ui->td})
        connect(combo, &QComboBox::currentIndexChanged, this, &TabTMC::slotChanged);
    for (QSpinBox* box : std::initializer_list<QSpinBox*>{ui->LTN, ui->SID, ui->repeat, ui->rate,
                                                          ui->LTECC, ui->LTCC})
        connect(box, &QSpinBox::valueChanged, this, &TabTMC::slotChanged);
    for (QAbstractButton* box :
         std::initializer_list<QAbstractButton*>{ui->AFI, ui->M, ui->I, ui->N, ui->R, ui->U})
        connect(box, &QAbstractButton::clicked, this, &TabTMC::slotChanged);

    connect(ui->direction, &QAbstractButton::clicked, this, &TabTMC::dataChanged);
    connect(ui->diversion, &QAbstractButton::clicked, this, &TabTMC::dataChanged);
    connect(ui->duration, &QSpinBox::valueChanged, this, &TabTMC::dataChanged);
    connect(ui->extent, &QSpinBox::valueChanged, this, &TabTMC::dataChanged);

    connect(ui->encid, &QSpinBox::valueChanged, this, &TabTMC::encChanged);
    for (QSpinBox* box : {ui->rotate, ui->shift, ui->axor})
        connect(box, &QSpinBox::valueChanged, this, &TabTMC::keyChanged);
    for (QLineEdit* edit : {ui->var0, ui->var1, ui->var2, ui->var3})
        connect(edit, &QLineEdit::editingFinished, this, &TabTMC::varxChanged);

    connect(eccSearch, &ECCSearch::saveECC, this, &TabTMC::saveECC);
    connect(ui->BECC, &QToolButton::clicked, eccSearch, &ECCSearch::showECC);
}

void TabTMC::setProgram(QSharedPointer<FMSettings> settings)
{
    if (!settings)
        return;
    // The previous project's store must not keep posting into this page.
    if (store)
        store->unsubscribeAll(this);
    store = std::move(settings);
    store->subscribe(QStringLiteral("tmc"), this);
    fillSources(0);
}

void TabTMC::showSource(int number)
{
    QTableWidget* table = ui->sources;
    for (int row = 0; row < table->rowCount(); ++row) {
        QTableWidgetItem* item = table->item(row, 0);
        if (item && item->data(Qt::UserRole).toInt() == number) {
            table->setCurrentItem(item);
            return;
        }
    }
}

void TabTMC::setValueEvent(SetValue* event)
{
    notify(event);
}

void TabTMC::notify(SetValue* event)
{
    const QString key = event->key.toLower();
    if (!key.startsWith(QLatin1String("tmc")))
        return;
    const int number = sourceNumber(key);
    if (key.endsWith(QLatin1String("/used"))) {
        fillSources(event->value.toBool() ? number : (currentSource != number ? currentSource : 0));
        return;
    }
    const qsizetype slash = key.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        fillSources(currentSource);
        return;
    }

    if (synchronise(number, key, event->value))
        store->loadTMC(number);

    bool isLine = false;
    const int line = key.mid(slash + 1).toInt(&isLine);
    if (isLine) {
        if (number == currentSource && store) {
            source = store->tmcSource(number);
            messageModel()->setMessages(source.messages);
            if (messageModel()->current() == line)
                showMessage(line);
        }
        return;
    }

    QTableWidgetItem* item = ui->sources->currentItem();
    if (key.endsWith(QLatin1String("/name"))) {
        // A name set elsewhere (a remote client) shows in the table too.
        for (int row = 0; row < ui->sources->rowCount(); ++row) {
            QTableWidgetItem* named = ui->sources->item(row, 0);
            if (named && named->data(Qt::UserRole).toInt() == number) {
                const QSignalBlocker blocker(ui->sources);
                named->setText(event->value.toString());
            }
        }
    }
    if (!item || (number != 0 && item->data(Qt::UserRole).toInt() != number))
        return;
    itemChanged(item);
}

bool TabTMC::synchronise(int number, const QString& key, const QVariant& value)
{
    if (!store || key.contains(QLatin1Char('-')) || key.contains(QLatin1Char('*')))
        return false;
    const QString prefix = key.section(QLatin1Char('/'), 0, 0);
    const auto stored = [this, &prefix](const char* name) {
        return store->value(prefix + u'/' + QLatin1String(name), 0).toUInt();
    };
    const auto write = [this, &prefix](const char* name, const QVariant& v) {
        store->setValue(prefix + u'/' + QLatin1String(name), v, true, this);
    };
    const QString text = value.toString();
    bool ok = false;

    // The words follow a written "ltn", "sid", "ltcc" or "ltecc" in the store
    // itself (FMSettings::set), before the board threads hear of it; only
    // the fields follow the words here.
    if (key.endsWith(QLatin1String("/va0"))) {
        const quint32 v = text.toUInt(&ok);
        // Another source's word says nothing about the form's LTCC field.
        if (number == currentSource)
            ui->LTCC->setEnabled((v & kModeBit) == 0);
        if (!ok)
            return false;
        write("ltn", int((v >> kFieldShift) & kSixBits));
        return true;
    }
    if (key.endsWith(QLatin1String("/va1"))) {
        const quint32 v = text.toUInt(&ok);
        if (!ok)
            return false;
        write("sid", int((v >> kFieldShift) & kSixBits));
        if ((stored("va0") & kModeBit) == 0)
            write("ltcc", QString::number(v & kLtccMask, 16));
        return true;
    }
    if (key.endsWith(QLatin1String("/va2"))) {
        const quint32 v = text.toUInt(&ok);
        if (!ok)
            return false;
        write("ltecc", hexDigits(v & kLteccMask, 2));
        return true;
    }
    return false;
}

void TabTMC::fillSources(int select)
{
    QTableWidget* table = ui->sources;
    {
        const QSignalBlocker blocker(table);
        table->setRowCount(0);
    }
    if (store) {
        const QMap<int, TMCSource> sources = store->tmcSources();
        for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
            if (it.key() < 1 || !it->used)
                continue;
            const int row = table->rowCount();
            {
                const QSignalBlocker blocker(table);
                table->insertRow(row);
            }
            setSourceRow(it->name, it.key(), row);
            if (row == 0 || (select != 0 && it.key() == select)) {
                currentSource = it.key();
                table->setCurrentCell(row, 0);
            }
        }
    }
    if (select == 0)
        table->setCurrentCell(table->rowCount() - 1, 0);
    const bool any = table->rowCount() > 0;
    for (QWidget* widget :
         std::initializer_list<QWidget*>{ui->gEnc, ui->gMessages, ui->BaddMsg, ui->BdelMsg})
        widget->setEnabled(any);
}

void TabTMC::setSourceRow(const QString& name, int number, int row)
{
    QTableWidget* table = ui->sources;
    const QSignalBlocker blocker(table);
    QTableWidgetItem* item = table->item(row, 0);
    if (!item) {
        item = new QTableWidgetItem(name);
        table->setItem(row, 0, item);
    }
    item->setData(Qt::UserRole, number);
    item->setToolTip(tr("Name der %1. TMC Quelle").arg(number));
}

void TabTMC::addSource()
{
    if (store)
        store->newTMC();
}

void TabTMC::delSource()
{
    if (!store)
        return;
    for (QTableWidgetItem* item : ui->sources->selectedItems()) {
        if (item->column() == 0)
            store->removeTMC(item->data(Qt::UserRole).toInt());
    }
    currentSource = 0;
}

void TabTMC::nameChanged(QTableWidgetItem* item)
{
    if (item && store)
        store->setTMCName(item->data(Qt::UserRole).toInt(), item->text());
}
