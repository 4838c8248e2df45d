#pragma once

#include "settings/Observer.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QSharedPointer>
#include <QUrl>
#include <QWidget>

class FMSettings;
class QTableWidgetItem;
struct AudioSource;

namespace Ui {
class FMAudioUI;
}

// Audio page: the audio sources of the project with their test signals or
// files, the playlists and the files of the shown playlist. It keeps no
// audio data of its own: every edit goes into the store, and the tables are
// drawn again from the store's notifications.
class FMAudio : public QWidget, public Observer
{
    Q_OBJECT
public:
    explicit FMAudio(QWidget* parent = nullptr);
    ~FMAudio() override;

    void attach(QSharedPointer<FMSettings> settings);
    // Shows the audio source with this id and, for a source that plays a
    // playlist, that playlist.
    void selectPlaylist(int source);
    int currentPlaylist() const { return playlistId; }

    void notify(SetValue* event) override;

public slots:
    void addSource(const QString& file);
    void addSource();
    void delSource();
    void addFiles();
    void addFilesAt(int row, const QList<QUrl>& urls);
    void addFilesToPlaylist(int playlist, int row, const QList<QUrl>& urls);
    void delFiles();
    void addList();
    void delList();
    void playFile(const QString& file);
    void itemChanged(QTableWidgetItem* item);
    void listChanged(QTableWidgetItem* current);
    void nameChanged(QTableWidgetItem* item);
    void typeChanged(int index);
    void slotChanged();
    void focusOut();

private:
    static constexpr int kNameColumn = 0;
    static constexpr int kTypeColumn = 1;
    static constexpr int kParameterColumn = 2;

    // A file text "playlist." and an id (any case) names a playlist.
    static bool isPlaylistReference(const QString& file);
    static int referencedPlaylist(const QString& file);

    void connectForm();
    void enableButtons(bool on);

    // --- drawing the tables from the store (FMAudioTables.cpp)
    void fillPlaylists(int preferred);
    void fillSources();
    void buildSourceRow(const AudioSource& source, int id, int row);
    void buildTypeBox(int type, int row);
    void buildFileCell(const QString& file, int row);
    void buildTestForm(const AudioSource& source, int row);
    QWidget* createTestForm(bool ramp);
    void rebuildTabOrder();
    void showFile(QTableWidgetItem* cell, const QString& file) const;
    QString playlistName(const QString& file) const;
    void fillFiles(const QStringList& paths);
    void showSongInfo();
    int sourceId(int row) const;

    // A playlist of thousands of files changes item by item, each with its
    // notification: the tables are drawn once per event-loop pass, after
    // the pass's notifications, not once per notification.
    enum Refill { RefillSources = 1, RefillPlaylists = 2, RefillSongs = 4 };
    void scheduleRefill(int what);
    void refill();

    Ui::FMAudioUI* ui;
    QSharedPointer<FMSettings> store;
    QString lastFile;
    int playlistId = 1;
    // A cut row or a replaced cell deletes its form with the table.
    QMap<int, QPointer<QWidget>> testForms;
    bool tabOrderStale = false;
    int pendingRefill = 0;
};
