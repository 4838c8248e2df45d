#pragma once

#include "board/BoardIP.h"
#include "board/BoardInfo.h"

#include <QList>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QSharedPointer>

#include <array>

class ChannelView;
class Dynamic;
class EventLog;
class FMBoard;
class FMChannel;
class FMServer;
class FMSettings;
class QAction;
class QActionGroup;
class QLabel;
class QSettings;
class QTimer;
class TabFlag;
class Updater;

namespace Ui {
class FMManager;
class EventPlayer;
} // namespace Ui

// The program window: it owns the board threads, the remote-control server
// and the pages, maps the user's project files onto the store's working
// copy and hands every new store to all that hold it.
class FMManager : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kBoards = 4;
    static constexpr int kChannelsPerBoard = 24;
    static constexpr int kChannels = kBoards * kChannelsPerBoard;
    static constexpr int kDirtyTickMs = 1296;
    static constexpr int kAskLanguageMs = 1000;
    static constexpr int kRecentMenuDelayMs = 666;

    // ini is not owned; it must outlive the window.
    explicit FMManager(QSettings* ini, QWidget* parent = nullptr);
    ~FMManager() override;

    static QString versionText();
    static QString settingsDir();
    QString defaultProject() const;
    QString lastFile() const;
    QString lastDirectory() const;
    void addRecent(const QString& path);

    QSharedPointer<FMSettings> project() const { return store; }
    FMServer* server() const { return remoteServer; }
    FMBoard* board(int position) const;
    FMChannel* channel(int index) const;
    int modulators() const { return modCount; }
    bool isDirty() const { return dirty; }

public slots:
    // --- pages
    void onChannels();
    void onAudio();
    void onRDS();
    void onTMC();
    void showAudio(int source);
    void showRDS(int source, int tab);
    void showTMC(int source);

    // --- boards and remote control
    void onRemote(uint port, const QString& text, uint error = 0);
    void onRemoteCD(const QString& path);
    void onRemote();
    void onConfig();
    void onConnect();
    void connectTo(int count, const QList<BoardIP>& boards);
    void checkFlag();
    void showOnAir(bool on, int position);
    void online(const BoardIP& address, int position);
    void offline(const BoardIP& address, int position);
    void boardInfo(const BoardInfo& info, int position);
    void userUnlock(int position);
    void getFMBand();
    void updateBand();

    // --- language
    void initLang();
    void askLang();
    void setLang(const QString& lang);
    void langDE();
    void langEN();

    // --- project files
    void loadFile(const QString& path);
    void loadFile();
    QString openFile(const QString& path);
    QString newFile(const QString& path);
    bool saveFile(const QString& target);
    void newFile();
    // True when the project was saved; a failure is shown to the user.
    bool saveFileAs();
    void revertFile();
    void openRecent(QAction* entry);
    void getExample();
    void loadRecent();
    void dirtyTimer();
    void onWorkingCopyWritten(bool complete);
    // Tells the operator that changes to file are not on disk.
    void showUnwritten(const QString& file);
    QMessageBox::StandardButton notifySave(const QString& title);
    void resetTitle();

    // --- help menu
    void tryUpdate();
    void showReleaseNotes();
    void about();
    void showDocu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // --- construction
    void createToolBar();
    void createMenus();
    void createPlayer(QWidget* dock);
    void connectActions();
    void connectPages();
    void addStatusLED();
    void takeOverDefaultProject();
    void restoreLayout();
    void fillScreen();
    void showPage(int index);
    void channelKey(int key, Qt::KeyboardModifiers modifiers);

    // --- boards and remote control
    void startRemote();
    void startBoard();
    void connectBoards(int count, const QList<BoardIP>& boards);
    void showPosition(int position, bool shown);
    void applyModulators();
    void enableBoardActions();
    BoardIP storedBoard(int position) const;
    QString offlineTip(int position) const;
    void storeBoard(int position, const BoardIP& address);

    // --- project files
    QString loadQuietly(const QString& path);
    void startNewProject(const QString& path);
    void openStore(const QString& path);
    void handOver(const QString& path);
    QString iniPath() const;
    bool isProgramFile(const QString& path) const;
    QStringList storedRecent() const;

    // --- language: "Board/lang" in lower case, English when none is stored
    QString language() const;

    QSettings* ini;
    QSharedPointer<FMSettings> store;
    Ui::FMManager* ui;
    Ui::EventPlayer* player;
    TabFlag* flag;
    std::array<FMChannel*, kChannels> strips{};
    std::array<ChannelView*, kBoards> tiles{};
    std::array<FMBoard*, kBoards> boards{};
    std::array<QLabel*, kBoards> boardLabels{};
    std::array<QLabel*, kBoards> boardLights{};
    FMServer* remoteServer = nullptr;
    QWidget* remoteStatus = nullptr;
    QLabel* remoteLabel = nullptr;
    QLabel* remoteLight = nullptr;
    EventLog* eventLog = nullptr;
    Dynamic* timeline = nullptr;
    Updater* updater = nullptr;
    QActionGroup* pageActions = nullptr;
    QList<QAction*> pages;
    QTimer* dirtyCheck = nullptr;
    quint8 onlineMask = 0;
    quint8 onAirMask = 0;
    // True at first, so the first evaluation shows off air on the flag.
    bool airShown = true;
    bool dirty = false;
    // The last write of the working copy failed; its warning is shown.
    bool workingCopyFailed = false;
    bool recentChanged = false;
    int modCount = 1;
};
