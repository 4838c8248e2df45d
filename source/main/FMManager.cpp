// Construction of the program window: form, tool bar with the pages, docks,
// board tiles and channel strips, status lights; page switching, channel
// keys and the orderly stop of the board threads.
#include "main/FMManager.h"

#include "gui/FramePacer.h"

#include "main/EventLog.h"
#include "main/Updater.h"
#include "ui_EventPlayer.h"
#include "ui_FMManager.h"

#include "board/FMBoard.h"
#include "channels/ChannelView.h"
#include "channels/FMAudio.h"
#include "channels/FMChannel.h"
#include "channels/TabFlag.h"
#include "dynamic/timeline/DynEdit.h"
#include "dynamic/timeline/DynModel.h"
#include "dynamic/timeline/Dynamic.h"
#include "gui/FramePacer.h"
#include "gui/StatusColours.h"
#include "rds/TabRDS.h"
#include "remote/FMServer.h"
#include "settings/FMSettings.h"
#include "settings/SettingsDirectory.h"
#include "tmc/page/TabTMC.h"

#include <QActionGroup>
#include <QDebug>
#include <QDockWidget>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kPages = 4;
constexpr int kTileColumns = 2;
constexpr int kStripRows = 8;
constexpr int kPlayerMinWidth = 360;
constexpr int kPlayerMinHeight = 150;
// Initial splitter sizes: the event list editor starts collapsed.
constexpr int kTimelinePane = 66;
constexpr int kStripsPerDigitRow = 10;
constexpr int kLayoutStateVersion = 0;

void setNoMargins(QLayout* layout, int spacing)
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
}

} // namespace

FMManager::FMManager(QSettings* settings, QWidget* parent)
    : QMainWindow(parent), ini(settings), ui(new Ui::FMManager), player(new Ui::EventPlayer),
      flag(new TabFlag(this))
{
    ui->setupUi(this);
    paletteColour();
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setContextMenuPolicy(Qt::NoContextMenu);
    new FramePacer(this);
    qDebug("Qt#: build=%s run=%s color=%s", QT_VERSION_STR, qVersion(),
           qPrintable(colourSchemeName()));
    ui->menuLast->setWindowTitle(tr("Letzte Projekte"));
    ui->menuExamples->setWindowTitle(tr("Beispiel laden"));
    // More than four boards cannot be driven, and no channel lies beyond 96.
    modCount = std::clamp(ini->value(QStringLiteral("Board/mods"), 1).toInt(), 1, kBoards);

    createToolBar();
    createMenus();
    connectActions();
    connectPages();
    addStatusLED();
    qRegisterMetaType<BoardInfo>("BoardInfo");
    qRegisterMetaType<BoardIP>("BoardIP");

    startRemote();
    startBoard();
    initLang();

    QTimer::singleShot(kAskLanguageMs, this, &FMManager::askLang);
    dirtyCheck = new QTimer(this);
    connect(dirtyCheck, &QTimer::timeout, this, &FMManager::dirtyTimer);
    dirtyCheck->start(kDirtyTickMs);

    takeOverDefaultProject();
    recentChanged = true;
    loadRecent();
    dirty = ini->value(QStringLiteral("Last/dirty"), false).toBool();
    loadFile(defaultProject());

    updater = new Updater(this);
    connect(updater, &Updater::hasUpdate, this, &FMManager::tryUpdate);
    updater->check();

    restoreLayout();
    if (remoteServer)
        remoteServer->setCurrentDirectory(
            ini->value(QStringLiteral("Remote/path"), settingsDir()).toString());
}

FMManager::~FMManager()
{
    qDebug("~MAN quit mod threads");
    for (FMBoard* b : boards) {
        if (b)
            b->quit();
    }
    for (FMBoard* b : boards) {
        if (b)
            b->wait();
    }
    qDebug("~MAN kill mods");
    for (FMBoard*& b : boards) {
        delete b;
        b = nullptr;
    }
    qDebug("~END");
    store.reset();
    delete player;
    delete ui;
}

QString FMManager::settingsDir()
{
    return settingsDirectory();
}

FMBoard* FMManager::board(int position) const
{
    return position >= 0 && position < kBoards ? boards[position] : nullptr;
}

FMChannel* FMManager::channel(int index) const
{
    return index >= 0 && index < kChannels ? strips[index] : nullptr;
}

// --- construction

void FMManager::createToolBar()
{
    pageActions = new QActionGroup(this);
    pageActions->setExclusive(true);
    struct Page
    {
        const char* icon;
        QString text;
        void (FMManager::*slot)();
    };
    const Page list[kPages] = {
        {":/icons/32antenna.png", QStringLiteral(" ") + tr("Kanäle"), &FMManager::onChannels},
        {":/icons/32audio.png", QStringLiteral(" ") + tr("Audio"), &FMManager::onAudio},
        {":/icons/32rds.png", QStringLiteral(" RDS"), &FMManager::onRDS},
        {":/icons/32tmc.png", QStringLiteral(" TMC"), &FMManager::onTMC},
    };
    for (int i = 0; i < kPages; ++i) {
        auto* action = new QAction(QIcon(QString::fromLatin1(list[i].icon)), list[i].text, this);
        action->setObjectName(QStringLiteral("page%1").arg(i));
        action->setCheckable(true);
        action->setChecked(i == 0);
        pageActions->addAction(action);
        connect(action, &QAction::triggered, this, list[i].slot);
        if (i > 0)
            ui->toolBar->addSeparator();
        ui->toolBar->addAction(action);
        pages.append(action);
    }
    ui->toolBar->addWidget(flag);
}

void FMManager::createMenus()
{
    auto* logDock = new QDockWidget(tr("Event Log"), this);
    logDock->setObjectName(QStringLiteral("eventlog"));
    logDock->toggleViewAction()->setShortcut(QKeySequence(tr("CTRL+E")));
    ui->menuEvents->addAction(logDock->toggleViewAction());
    logDock->setAllowedAreas(Qt::AllDockWidgetAreas);
    eventLog = new EventLog(logDock);
    logDock->setWidget(eventLog);
    addDockWidget(Qt::BottomDockWidgetArea, logDock);
    logDock->hide();

    auto* playerDock = new QDockWidget(tr("Event Player"), this);
    playerDock->setObjectName(QStringLiteral("eventplayer"));
    playerDock->toggleViewAction()->setShortcut(QKeySequence(tr("CTRL+P")));
    ui->menuEvents->addAction(playerDock->toggleViewAction());
    playerDock->setMinimumSize(kPlayerMinWidth, kPlayerMinHeight);
    playerDock->setFeatures(playerDock->features() | QDockWidget::DockWidgetVerticalTitleBar);
    playerDock->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    createPlayer(playerDock);
    addDockWidget(Qt::BottomDockWidgetArea, playerDock);
    playerDock->hide();
}

void FMManager::createPlayer(QWidget* dock)
{
    auto* holder = new QWidget(dock);
    auto* column = new QVBoxLayout(holder);
    setNoMargins(column, 0);
    auto* form = new QWidget(holder);
    player->setupUi(form);
    column->addWidget(form);

    auto* splitter = new QSplitter(Qt::Horizontal, holder);
    auto* scroll = new QScrollArea(splitter);
    scroll->setWidgetResizable(true);
    scroll->setContentsMargins(0, 0, 0, 0);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    timeline = new Dynamic(this);
    scroll->setWidget(timeline);
    auto* editor = new DynEdit(splitter);
    editor->setModel(timeline->model());
    splitter->addWidget(scroll);
    splitter->addWidget(editor);
    splitter->setCollapsible(1, true);
    splitter->setSizes({kTimelinePane, 0});
    timeline->setSplitter(splitter);
    column->addWidget(splitter);
    static_cast<QDockWidget*>(dock)->setWidget(holder);

    connect(player->Bplay, &QPushButton::clicked, timeline, &Dynamic::onPlay);
    connect(player->Bpause, &QPushButton::clicked, timeline, &Dynamic::onPause);
    connect(player->Brecnow, &QPushButton::clicked, timeline, &Dynamic::onRecNow);
    connect(player->Brecord, &QPushButton::clicked, timeline, &Dynamic::onRecord);
    connect(player->Bclear, &QPushButton::clicked, timeline, &Dynamic::onClear);
    connect(player->Brevert, &QPushButton::clicked, this, &FMManager::revertFile);
    connect(player->Brepeat, &QPushButton::clicked, timeline, &Dynamic::onRepeat);
    connect(player->Blist, &QPushButton::clicked, timeline, &Dynamic::onList);
    connect(player->pos, &QSpinBox::valueChanged, timeline, &Dynamic::onTime);
    connect(timeline, &Dynamic::msTime, player->pos, &QSpinBox::setValue);
    connect(timeline, &Dynamic::setPlay, player->Bplay, &QPushButton::setChecked);
    connect(timeline, &Dynamic::setPause, player->Bpause, &QPushButton::setChecked);
    connect(timeline, &Dynamic::setRepeat, player->Brepeat, &QPushButton::setChecked);
    connect(timeline, &Dynamic::showList, player->Blist, &QPushButton::setChecked);
    DynModel* model = timeline->model();
    connect(model, &DynModel::onSelClear, editor, &DynEdit::onSelClear);
    connect(model, &DynModel::onSelInsert, editor, &DynEdit::onSelInsert);
    connect(model, &DynModel::onSelRemove, editor, &DynEdit::onSelRemove);
    connect(model, &DynModel::onSelClear, timeline, &Dynamic::update);
    connect(model, &DynModel::onSelInsert, timeline, &Dynamic::update);
    connect(model, &DynModel::onSelRemove, timeline, &Dynamic::update);
}

void FMManager::connectActions()
{
    connect(ui->actNew, &QAction::triggered, this, qOverload<>(&FMManager::newFile));
    connect(ui->actLoad, &QAction::triggered, this, qOverload<>(&FMManager::loadFile));
    connect(ui->actSave, &QAction::triggered, this, &FMManager::saveFileAs);
    connect(ui->actRevert, &QAction::triggered, this, &FMManager::revertFile);
    connect(ui->actQuit, &QAction::triggered, this, &FMManager::close);
    connect(ui->actConnect, &QAction::triggered, this, &FMManager::onConnect);
    connect(ui->actConfig, &QAction::triggered, this, &FMManager::onConfig);
    connect(ui->actFMBand, &QAction::triggered, this, &FMManager::getFMBand);
    connect(ui->actRemote, &QAction::triggered, this, qOverload<>(&FMManager::onRemote));
    connect(ui->actRelease, &QAction::triggered, this, &FMManager::showReleaseNotes);
    connect(ui->actDocu, &QAction::triggered, this, &FMManager::showDocu);
    for (QAction* example : {ui->act1, ui->act2, ui->act3, ui->act4, ui->act5, ui->act6})
        connect(example, &QAction::triggered, this, &FMManager::getExample);
    connect(ui->actDE, &QAction::triggered, this, &FMManager::langDE);
    connect(ui->actEN, &QAction::triggered, this, &FMManager::langEN);
    connect(ui->actUpdate, &QAction::triggered, this, &FMManager::tryUpdate);
    connect(ui->actAbout, &QAction::triggered, this, &FMManager::about);
    connect(ui->menuLast, &QMenu::triggered, this, &FMManager::openRecent);
}

void FMManager::connectPages()
{
    auto* container = new QWidget(ui->tabFM);
    auto* grid = new QGridLayout(container);
    setNoMargins(grid, 0);
    ui->tabFM->setWidget(container);
    for (int b = 0; b < kBoards; ++b) {
        auto* tile = new ChannelView(b, container);
        auto* tileGrid = new QGridLayout(tile);
        tileGrid->setSpacing(3);
        tileGrid->setContentsMargins(4, 4, 4, 4);
        grid->addWidget(tile, b / kTileColumns, b % kTileColumns);
        tile->setVisible(b < modCount);
        tiles[b] = tile;
        for (int i = 0; i < kChannelsPerBoard; ++i) {
            auto* strip = new FMChannel(kChannelsPerBoard * b + i + 1, tile);
            tileGrid->addWidget(strip, i % kStripRows, i / kStripRows);
            connect(strip, &FMChannel::showAudio, this, &FMManager::showAudio);
            connect(strip, &FMChannel::showRDS, this, &FMManager::showRDS);
            connect(strip, &FMChannel::showTMC, this, &FMManager::showTMC);
            strips[kChannelsPerBoard * b + i] = strip;
        }
    }
    const std::array<std::pair<QWidget*, QWidget*>, 3> pagesOfTabs{{
        {ui->tabAudio, new FMAudio(this)},
        {ui->tabRDS, new TabRDS(this)},
        {ui->tabTMC, new TabTMC(this)},
    }};
    for (const auto& [tab, page] : pagesOfTabs) {
        auto* layout = new QGridLayout(tab);
        layout->setSpacing(3);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(page);
    }
}

void FMManager::addStatusLED()
{
    auto makeContainer = [this] {
        auto* container = new QWidget(this);
        auto* row = new QHBoxLayout(container);
        row->setSpacing(3);
        row->setContentsMargins(0, 0, 3, 0);
        return container;
    };
    QWidget* lights = makeContainer();
    for (int b = 0; b < kBoards; ++b) {
        auto* label = new QLabel(QStringLiteral("#???"), lights);
        label->setObjectName(QStringLiteral("boardLabel%1").arg(b));
        label->setToolTip(tr("%1. Modulator, Channels %2 - %3")
                              .arg(b + 1)
                              .arg(kChannelsPerBoard * b + 1)
                              .arg(kChannelsPerBoard * b + kChannelsPerBoard));
        auto* light = new QLabel(lights);
        light->setObjectName(QStringLiteral("boardLight%1").arg(b));
        light->setPixmap(QPixmap(QStringLiteral(":/icons/error.png")));
        lights->layout()->addWidget(label);
        lights->layout()->addWidget(light);
        label->setVisible(b < modCount);
        light->setVisible(b < modCount);
        boardLabels[b] = label;
        boardLights[b] = light;
    }
    statusBar()->addPermanentWidget(lights);

    remoteStatus = makeContainer();
    remoteStatus->setObjectName(QStringLiteral("remoteStatus"));
    remoteLabel = new QLabel(tr("Fernsteuerung:"), remoteStatus);
    remoteLabel->setObjectName(QStringLiteral("remoteLabel"));
    remoteLight = new QLabel(remoteStatus);
    remoteLight->setObjectName(QStringLiteral("remoteLight"));
    remoteLight->setPixmap(QPixmap(QStringLiteral(":/icons/ledgreen.png")));
    remoteStatus->layout()->addWidget(remoteLabel);
    remoteStatus->layout()->addWidget(remoteLight);
    statusBar()->addPermanentWidget(remoteStatus);
    onRemote(0, QString());
}

// A first start has no stored layout; the form's own size would show about
// one board tile of four behind scroll bars, so the window takes the room
// the screen offers.
void FMManager::fillScreen()
{
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown)
        return;
    const QRect room = shown->availableGeometry();
    qDebug("man: first layout %dx%d", room.width(), room.height());
    setGeometry(room);
}

void FMManager::restoreLayout()
{
    qDebug("man: layout restore");
    if (!restoreGeometry(ini->value(QStringLiteral("Main/geometry")).toByteArray()))
        fillScreen();
    restoreState(ini->value(QStringLiteral("Main/winstate")).toByteArray(), kLayoutStateVersion);
    ui->toolBar->adjustSize();
    qDebug("man: layout restored");
}

// --- pages

void FMManager::onChannels()
{
    ui->stackedWidget->setCurrentIndex(0);
}

void FMManager::onAudio()
{
    ui->stackedWidget->setCurrentIndex(1);
}

void FMManager::onRDS()
{
    ui->stackedWidget->setCurrentIndex(2);
}

void FMManager::onTMC()
{
    ui->stackedWidget->setCurrentIndex(3);
}

void FMManager::showPage(int index)
{
    pages[index]->setChecked(true);
    ui->stackedWidget->setCurrentIndex(index);
}

void FMManager::showAudio(int source)
{
    showPage(1);
    for (FMAudio* page : ui->tabAudio->findChildren<FMAudio*>())
        page->selectPlaylist(source);
}

void FMManager::showRDS(int source, int tab)
{
    showPage(2);
    for (TabRDS* page : ui->tabRDS->findChildren<TabRDS*>())
        page->showSource(source, tab);
}

void FMManager::showTMC(int source)
{
    showPage(3);
    for (TabTMC* page : ui->tabTMC->findChildren<TabTMC*>())
        page->showSource(source);
}

void FMManager::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    const int key = event->key();
    if (event->modifiers() & Qt::ControlModifier) {
        const int current = ui->stackedWidget->currentIndex();
        switch (key) {
        case Qt::Key_Home:
            showPage(0);
            return;
        case Qt::Key_PageDown:
            if (current + 1 < kPages)
                showPage(current + 1);
            return;
        case Qt::Key_PageUp:
            if (current - 1 >= 0 && current - 1 < kPages)
                showPage(current - 1);
            return;
        default:
            break;
        }
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        channelKey(key, event->modifiers());
}

// Digits 1 to 9 select strips 0 to 8 and 0 strip 9; Control adds 10 and Alt
// 20, so every strip of the first 40 has a key.
void FMManager::channelKey(int key, Qt::KeyboardModifiers modifiers)
{
    int index = key == Qt::Key_0 ? 9 : key - Qt::Key_1;
    if (modifiers & Qt::ControlModifier)
        index += kStripsPerDigitRow;
    if (modifiers & Qt::AltModifier)
        index += 2 * kStripsPerDigitRow;
    FMChannel* strip = strips[index];
    if (!strip->isVisibleTo(this))
        return;
    strip->setUsed(!strip->isUsed());
}
