#include "rds/TabRDS.h"

#include "country/ECCSearch.h"
#include "rds/AFTableAuto.h"
#include "rds/AFTableSend.h"
#include "rds/EONEdit.h"
#include "rds/EONModel.h"
#include "rds/ODAEdit.h"
#include "rds/ODAModel.h"
#include "rds/RDSDecoder.h"
#include "rds/RDSLogFiles.h"
#include "settings/FMSettings.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"
#include "ui_TabRDS0.h"
#include "ui_TabRDS2.h"
#include "ui_TabRDSAF.h"
#include "ui_TabRDSRT.h"
#include "ui_TabRDSUI.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDebug>
#include <QTextCodec>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kClockIntervalMs = 1000;
constexpr int kVariantHintMs = 150; // lets the method switch settle before the hint
constexpr int kHiddenTab = 3;       // "RDS2 && ODA": built and loaded, never shown
// The monitor log keeps its last lines only: a channel sends some 40,000
// groups an hour, and the log would otherwise grow without end.
constexpr int kLogLines = 10000;

void putInto(QWidget* page, QWidget* form)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
}

} // namespace

TabRDS::TabRDS(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TabRDSUI>()), ui0(std::make_unique<Ui::TabRDS0>()),
      uiAF(std::make_unique<Ui::TabRDSAF>()), uiRT(std::make_unique<Ui::TabRDSRT>()),
      ui2(std::make_unique<Ui::TabRDS2>())
{
    setObjectName(QStringLiteral("rdsPage"));
    ui->setupUi(this);
    const std::pair<QWidget*, QWidget*> forms[] = {{ui->tab0, new QWidget},
                                                   {ui->tabAF, new QWidget},
                                                   {ui->tabRT, new QWidget},
                                                   {ui->tabODA, new QWidget}};
    ui0->setupUi(forms[0].second);
    uiAF->setupUi(forms[1].second);
    uiRT->setupUi(forms[2].second);
    ui2->setupUi(forms[3].second);
    for (const auto& [page, form] : forms)
        putInto(page, form);

    ui0->PTY->addItems(fillPTYList());

    pagePalette = palette();
    groupButtonPalette = QApplication::palette();
    const QPalette removed = blendedPalette(pagePalette, QPalette::WindowText, Qt::red);
    for (QWidget* widget : std::initializer_list<QWidget*>{ui0->d0, ui0->d1, ui0->d2, ui0->Music,
                                                           ui0->Speech, ui0->lPager, ui0->lPIN})
        widget->setPalette(removed);

    eccSearch = new ECCSearch(this);
    installEventFilter(new SetHandler(this));

    odaModel = new ODAModel(this);
    ui2->ODA->setModel(odaModel);
    ui2->ODA->setItemDelegate(new ODAEdit(this));
    eonModel = new EONModel(this);
    ui0->EON->setModel(eonModel);
    ui0->EON->setItemDelegate(new EONEdit(this));

    connectFrame();
    connectBasic();
    connectRadioText();
    connectOthers();

    uiRT->tags->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    uiRT->tags->horizontalHeader()->setStretchLastSection(true);
    ui->pTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    uiAF->AFatab->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    uiAF->AFsend->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui0->EON->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui2->ODA->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    decoder = new RDSDecoder(this);
    ui->pTable->setModel(decoder);
    autoAFs = new AFTableAuto(this);
    uiAF->AFatab->setModel(autoAFs);
    sentAFs = new AFTableSend(this);
    uiAF->AFsend->setModel(sentAFs);
    logFiles = new RDSLogFiles(this);
    ui->Log->setModel(logFiles);
    ui->pLog->setMaximumBlockCount(kLogLines);

    ui->tabODA->setEnabled(false);
    ui->tabs->removeTab(kHiddenTab);

    connect(ui->stat, &QComboBox::currentIndexChanged, this, &TabRDS::setLog);
    connect(ui->stat, &QComboBox::currentIndexChanged, decoder, &RDSDecoder::setLog);
    connect(ui->Log->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TabRDS::showLog);

    fillCodecs();

    variantHint = new QTimer(this);
    variantHint->setObjectName(QStringLiteral("variantHint"));
    variantHint->setSingleShot(true);
    variantHint->setInterval(kVariantHintMs);
    connect(variantHint, &QTimer::timeout, this, &TabRDS::useVariant);

    clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &TabRDS::timeout);
    clock->start(kClockIntervalMs);
    updateButtons();
}

TabRDS::~TabRDS()
{
    qDebug() << "~rds source view";
    // The forms' widgets die after this body and may still signal on their
    // way out (an open editor commits, a field loses its focus).
    loading = true;
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    delete eccSearch; // a window of its own: it has no parent to take it along
    eccSearch = nullptr;
}

void TabRDS::fillCodecs()
{
    QList<QByteArray> names = QTextCodec::availableCodecs();
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    QStringList utf{QStringLiteral("UTF-8")};
    QStringList others;
    for (const QByteArray& name : std::as_const(names)) {
        const QString text = QString::fromLatin1(name);
        if (text == utf.first())
            continue;
        (text.startsWith(QLatin1String("UTF")) ? utf : others) << text;
    }
    uiRT->eRTcode->addItems(utf + others);
    uiRT->eRTcode->setCurrentIndex(-1);
}

QPalette TabRDS::blendedPalette(const QPalette& palette, QPalette::ColorRole role,
                                const QColor& signal)
{
    QPalette blended = palette;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        const auto colourGroup = QPalette::ColorGroup(group);
        const QColor own = palette.color(colourGroup, role);
        // Each of red, green, blue and alpha the integer mean of both colours.
        blended.setColor(colourGroup, role,
                         QColor((own.red() + signal.red()) / 2, (own.green() + signal.green()) / 2,
                                (own.blue() + signal.blue()) / 2,
                                (own.alpha() + signal.alpha()) / 2));
    }
    return blended;
}

QStringList TabRDS::fillPTYList()
{
    // The programme types of the RDS standard, by code; the English names
    // stay as they are in every language.
    return {QStringLiteral("0 No Program TYpe"),
            tr("1 Nachrichten"),
            tr("2 Aktuelle Info"),
            QStringLiteral("3 Information / Service"),
            QStringLiteral("4 Sport"),
            tr("5 Bildung"),
            tr("6 Hörspiel und Literatur"),
            tr("7 Kultur und Gesellschaft"),
            tr("8 Wissenschaft"),
            tr("9 Unterhaltung"),
            QStringLiteral("10 Pop Music"),
            QStringLiteral("11 Rock Music"),
            tr("12 Unterhaltungsmusik"),
            tr("13 Leichte Klassik"),
            tr("14 Ernste Klassik"),
            tr("15 Spezielle Musik"),
            tr("16 Wetter"),
            tr("17 Wirtschaft"),
            tr("18 Kinderprogramm"),
            tr("19 Soziales"),
            QStringLiteral("20 Religion"),
            tr("21 Anrufsendung"),
            tr("22 Reiseinformation"),
            tr("23 Freizeit"),
            QStringLiteral("24 Jazz Music"),
            QStringLiteral("25 Country Music"),
            QStringLiteral("26 National Music"),
            QStringLiteral("27 Oldies Music"),
            QStringLiteral("28 Folklore Music"),
            QStringLiteral("29 Feature / Documentary"),
            QStringLiteral("30 Alarm Test"),
            QStringLiteral("31 Alarm")};
}

void TabRDS::setValueEvent(SetValue* event)
{
    notify(event);
}
