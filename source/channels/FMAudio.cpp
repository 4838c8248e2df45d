#include "channels/FMAudio.h"

#include "ui_FMAudio.h"

#include "gui/ModalQuestions.h"
#include "settings/FMSettings.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"

#include <QComboBox>
#include <QDebug>
#include <QSpinBox>

#include <utility>

namespace {

const QColor kHighlight(0x33, 0x99, 0xFF);

void setHighlight(QWidget* table)
{
    QPalette palette = table->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Highlight, kHighlight);
    table->setPalette(palette);
}

// A test form's field, or -1 where the form has none.
int fieldValue(const QWidget* form, const char* name)
{
    const auto* field = form->findChild<QSpinBox*>(QLatin1String(name));
    return field ? field->value() : -1;
}

// -1 for a field that is missing or holds the stored value: only what the
// user changed is written.
int changedValue(int field, int stored)
{
    return field == stored ? -1 : field;
}

// The ids of the selected rows: only a name cell carries one.
QList<int> selectedIds(const QTableWidget* table)
{
    QList<int> ids;
    for (const QTableWidgetItem* selected : table->selectedItems()) {
        if (selected->column() == 0)
            ids.append(selected->data(Qt::UserRole).toInt());
    }
    return ids;
}

} // namespace

FMAudio::FMAudio(QWidget* parent) : QWidget(parent), ui(new Ui::FMAudioUI)
{
    ui->setupUi(this);
    installEventFilter(new SetHandler(this));
    for (QWidget* table : {static_cast<QWidget*>(ui->sources), static_cast<QWidget*>(ui->playlists),
                           static_cast<QWidget*>(ui->files)})
        setHighlight(table);
    connectForm();
    enableButtons(false);
}

FMAudio::~FMAudio()
{
    // Closing the window below commits an open cell editor; its change
    // must not reach a page that is half gone.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
    if (store)
        store->unsubscribeAll(this);
    delete ui;
    qDebug("~audio source view");
}

void FMAudio::connectForm()
{
    connect(ui->Baddsrc, &QPushButton::clicked, this, qOverload<>(&FMAudio::addSource));
    connect(ui->Bdelsrc, &QPushButton::clicked, this, &FMAudio::delSource);
    connect(ui->Baddfile, &QPushButton::clicked, this, &FMAudio::addFiles);
    connect(ui->Bdelfile, &QPushButton::clicked, this, &FMAudio::delFiles);
    connect(ui->Baddlist, &QPushButton::clicked, this, &FMAudio::addList);
    connect(ui->Bdellist, &QPushButton::clicked, this, &FMAudio::delList);
    connect(ui->sources, &QTableWidget::itemChanged, this, &FMAudio::itemChanged);
    connect(ui->playlists, &QTableWidget::currentItemChanged, this, &FMAudio::listChanged);
    connect(ui->playlists, &QTableWidget::itemChanged, this, &FMAudio::nameChanged);
    connect(ui->playlists, &SrcPList::addFilesToPlaylist, this, &FMAudio::addFilesToPlaylist);
    connect(ui->files, &SrcFiles::addFilesAt, this, &FMAudio::addFilesAt);
    connect(ui->sources, &SrcAudio::addSource, this,
            qOverload<const QString&>(&FMAudio::addSource));
    connect(ui->files, &SrcFiles::playFile, this, &FMAudio::playFile);
}

void FMAudio::enableButtons(bool on)
{
    for (QWidget* button :
         {ui->Baddsrc, ui->Bdelsrc, ui->Baddlist, ui->Bdellist, ui->Baddfile, ui->Bdelfile})
        button->setEnabled(on);
}

void FMAudio::attach(QSharedPointer<FMSettings> settings)
{
    if (store)
        store->unsubscribeAll(this);
    store = std::move(settings);
    enableButtons(bool(store));
    if (!store)
        return;
    store->subscribe(QStringLiteral("audio"), this);
    store->subscribe(QStringLiteral("playlist"), this);
    store->subscribe(QStringLiteral("songinfo"), this);
    store->takeLatestStateValues(this);
    fillPlaylists(0);
    fillSources();
}

void FMAudio::notify(SetValue* event)
{
    if (!store)
        return;
    const QString key = event->key.toLower();
    if (key.startsWith(QLatin1String("audio"))) {
        scheduleRefill(RefillSources);
    } else if (key.startsWith(QLatin1String("playlist"))) {
        if (referencedPlaylist(key.section(QLatin1Char('/'), 0, 0)) == 0)
            return;
        scheduleRefill(key.endsWith(QLatin1String("name")) ? RefillSources | RefillPlaylists
                                                           : RefillPlaylists);
    } else if (key.startsWith(QLatin1String("songinfo"))) {
        scheduleRefill(RefillSongs);
    }
}

void FMAudio::scheduleRefill(int what)
{
    const bool scheduled = pendingRefill != 0;
    pendingRefill |= what;
    // Posted behind the notifications already waiting, so it runs in the
    // same pass, once.
    if (!scheduled)
        QMetaObject::invokeMethod(this, &FMAudio::refill, Qt::QueuedConnection);
}

void FMAudio::refill()
{
    const int what = std::exchange(pendingRefill, 0);
    if (!store)
        return;
    if (what & RefillSources)
        fillSources();
    if (what & RefillPlaylists)
        fillPlaylists(playlistId);
    if (what & RefillSongs)
        showSongInfo();
}

void FMAudio::selectPlaylist(int source)
{
    if (!store)
        return;
    for (int row = 0; row < ui->sources->rowCount(); ++row) {
        QTableWidgetItem* name = ui->sources->item(row, kNameColumn);
        if (!name || name->data(Qt::UserRole).toInt() != source)
            continue;
        ui->sources->setCurrentItem(name);
        const AudioSource record = store->audioSource(source);
        if (record.type == AudioSource::File && isPlaylistReference(record.file))
            fillPlaylists(referencedPlaylist(record.file));
        return;
    }
}

// --- sources

void FMAudio::addSource(const QString& file)
{
    if (store)
        store->setAudio(file);
}

void FMAudio::addSource()
{
    addSource(QString());
}

void FMAudio::delSource()
{
    if (!store)
        return;
    for (int id : selectedIds(ui->sources))
        store->removeAudio(id);
    ui->sources->setCurrentCell(ui->sources->rowCount() - 1, kNameColumn);
}

void FMAudio::itemChanged(QTableWidgetItem* item)
{
    if (!store || !item)
        return;
    const QSignalBlocker blocker(ui->sources);
    if (item->column() == kParameterColumn) {
        const QString file = item->data(Qt::UserRole).toString();
        store->setAudioFile(sourceId(item->row()), file);
        showFile(item, file);
    } else if (item->column() == kNameColumn) {
        store->setAudioName(item->data(Qt::UserRole).toInt(), item->text());
    }
}

void FMAudio::typeChanged(int /*index*/)
{
    if (!store)
        return;
    for (int row = 0; row < ui->sources->rowCount(); ++row) {
        const auto* box = qobject_cast<QComboBox*>(ui->sources->cellWidget(row, kTypeColumn));
        if (!ui->sources->item(row, kNameColumn) || !box)
            continue;
        const int id = sourceId(row);
        if (box->currentIndex() == store->audioSource(id).type)
            continue;
        store->setAudioType(id, box->currentIndex());
        buildSourceRow(store->audioSource(id), id, row);
        rebuildTabOrder();
        return;
    }
}

void FMAudio::slotChanged()
{
    if (!store)
        return;
    for (int row = 0; row < ui->sources->rowCount(); ++row) {
        const QWidget* form = ui->sources->cellWidget(row, kParameterColumn);
        if (!ui->sources->item(row, kNameColumn) || !form)
            continue;
        const int id = sourceId(row);
        const AudioSource stored = store->audioSource(id);
        const int frq1 = changedValue(fieldValue(form, "f1"), stored.frq1);
        const int frq2 = changedValue(fieldValue(form, "f2"), stored.frq2);
        const int vol1 = changedValue(fieldValue(form, "v1"), stored.vol1);
        const int vol2 = changedValue(fieldValue(form, "v2"), stored.vol2);
        const int time = changedValue(fieldValue(form, "secs"), stored.time);
        if (frq1 < 0 && frq2 < 0 && vol1 < 0 && vol2 < 0 && time < 0)
            continue;
        store->setAudioSignal(id, frq1, frq2, vol1, vol2, time);
        return;
    }
}

void FMAudio::focusOut()
{
    ui->sources->clearSelection();
}

// --- playlists

void FMAudio::addList()
{
    if (store)
        fillPlaylists(store->newPlaylist());
}

void FMAudio::delList()
{
    if (!store)
        return;
    for (int id : selectedIds(ui->playlists))
        store->deletePlaylist(id);
    fillPlaylists(0);
    ui->playlists->setCurrentCell(ui->playlists->rowCount() - 1, kNameColumn);
}

void FMAudio::nameChanged(QTableWidgetItem* item)
{
    if (store && item)
        store->setPlaylistName(item->data(Qt::UserRole).toInt(), item->text());
}

void FMAudio::listChanged(QTableWidgetItem* current)
{
    if (!store || !current)
        return;
    playlistId = current->data(Qt::UserRole).toInt();
    qDebug("aud: playlist %d", playlistId);
    fillFiles(store->playlist(playlistId));
}

// --- files

void FMAudio::addFiles()
{
    if (!store)
        return;
    const QStringList chosen = ModalQuestions::openFileNames(
        this, tr("Audio Dateien hinzufügen"), lastFile,
        tr("Audio Dateien (*.ogg *.mp3 *.wav *.flac);;Alle Dateien (*)"));
    if (chosen.isEmpty())
        return;
    lastFile = chosen.constFirst();
    const QStringList files = store->addPlaylistFiles(playlistId, -1, chosen);
    if (ui->playlists->rowCount() > 0)
        fillFiles(files);
}

void FMAudio::addFilesAt(int row, const QList<QUrl>& urls)
{
    addFilesToPlaylist(playlistId, row, urls);
}

void FMAudio::addFilesToPlaylist(int playlist, int row, const QList<QUrl>& urls)
{
    if (!store)
        return;
    // A playlist holds file paths; any other URL would be stored as a path
    // below the current directory.
    QStringList paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
        else
            qDebug("aud: not a file [%s]", qPrintable(url.toString()));
    }
    if (paths.isEmpty())
        return;
    const QStringList files = store->addPlaylistFiles(playlist, row, paths);
    if (playlist == playlistId)
        fillFiles(files);
}

void FMAudio::delFiles()
{
    if (!store || ui->files->selectedItems().isEmpty())
        return;
    QStringList kept;
    for (int row = 0; row < ui->files->rowCount(); ++row) {
        const QTableWidgetItem* file = ui->files->item(row, 0);
        if (file && !file->isSelected())
            kept.append(file->text());
    }
    fillFiles(store->removePlaylistFiles(playlistId, kept));
}

void FMAudio::playFile(const QString& file)
{
    if (!store)
        return;
    const qsizetype index = store->playlist(playlistId).indexOf(file);
    if (index >= 0)
        store->publish(QStringLiteral("play.%1").arg(playlistId), int(index));
}
